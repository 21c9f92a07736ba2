#include "dwt.h"

#include <cstddef>

#include "fast/select.h"
#include "scratch.h"
#include "sizes.h"

namespace wavelet {

void filterANDdownsample(double* line, int n, const double* h0, const double* h1, int p,
                         double* low, double* high) {
    // Periodic extension, one value at a time and in ascending order: when the
    // filter is longer than the line the copy reads slots it has just written.
    for (int k = 0; k < p; ++k) line[n + k] = line[k];

    for (int i = 0; i < n; i += 2) {
        double lo = 0.0;
        double hi = 0.0;
        for (int j = 0; j <= p; ++j) {
            lo += line[i + j] * h0[p - j];
            hi += line[i + j] * h1[p - j];
        }
        low[i / 2] = lo;
        high[i / 2] = hi;
    }
}

namespace {

// Splits the line of n samples starting at `first`, `stride` apart, into its
// two bands and stores them back: low band in the first half, high in the second.
void splitLine(double* first, int stride, int n, const double* h0, const double* h1, int K,
               double* line, double* low, double* high) {
    for (int k = 0; k < n; ++k) line[k] = first[k * stride];
    filterANDdownsample(line, n, h0, h1, K - 1, low, high);
    const int half = n / 2;
    for (int k = 0; k < half; ++k) {
        first[k * stride] = low[k];
        first[(half + k) * stride] = high[k];
    }
}

}  // namespace

bool dwtReference(const double* input, int M, int N, const double* h0, const double* h1, int K,
         int levels, double* output) {
    Scratch line(sizes::dwtLineLength(M, N, K));
    Scratch low(sizes::larger(M, N));
    Scratch high(sizes::larger(M, N));
    if (!line || !low || !high) return false;

    if (M <= 0 || N <= 0) return true;  // an empty matrix has no line to split
    const int count = M * N;
    for (int k = 0; k < count; ++k) output[k] = input[k];

    // A vector, whatever its orientation, is one line with stride 1.
    const int stride = (N == 1) ? 1 : M;
    int width = (N == 1) ? M : N;
    int height = (N == 1) ? 1 : M;

    // Once the block has at most one row and one column a level stores nothing,
    // so stopping there gives the same result as running every level.
    for (int level = 0; level < levels && (width > 1 || height > 1); ++level) {
        for (int r = 0; r < height; ++r)
            splitLine(output + r, stride, width, h0, h1, K, line.get(), low.get(), high.get());
        if (stride > 1) {
            for (int q = 0; q < width; ++q)
                splitLine(output + q * stride, 1, height, h0, h1, K, line.get(), low.get(),
                          high.get());
        }
        width /= 2;
        height = (stride == 1) ? 1 : height / 2;
    }
    return true;
}


namespace {

void copyRows(const double* input, double* output, int M, int N, int firstRow) {
    for (int q = 0; q < N; ++q)
        for (int r = firstRow; r < M; ++r) output[q * M + r] = input[q * M + r];
}

}  // namespace

bool dwtUsing(fast::Isa isa, const double* input, int M, int N, const double* h0,
              const double* h1, int K, int levels, double* output) {
    if (!fast::takes(isa, K)) return dwtReference(input, M, N, h0, h1, K, levels, output);
    const fast::AnalysisKernels kernels = fast::analysisKernels(isa);

    const int stride = (N == 1) ? 1 : M;
    int width = (N == 1) ? M : N;
    int height = (N == 1) ? 1 : M;
    const bool rowGroups = stride > 1 && height >= kernels.groupRows;
    Scratch line(sizes::dwtLineLength(M, N, K));
    Scratch low(sizes::larger(M, N));
    Scratch high(sizes::larger(M, N));
    Scratch work(fast::workLength(kernels.groupRows, rowGroups ? width : 0, sizes::larger(M, N), K));
    if (!line || !low || !high || !work) return false;
    if (M <= 0 || N <= 0) return true;

    // The first row pass reads the input itself and writes every sample of the
    // output, which saves a copy; otherwise the output starts as a copy.
    const double* source = input;
    if (levels <= 0 || !rowGroups || width % 2 != 0) {
        copyRows(input, output, M, N, 0);
        source = output;
    }

    // The reference step serves the lines the kernels do not take: odd
    // lengths, and rows left over after the last full group.
    const auto split = [&](double* first, int step, int n) {
        splitLine(first, step, n, h0, h1, K, line.get(), low.get(), high.get());
    };
    for (int level = 0; level < levels && (width > 1 || height > 1); ++level) {
        if (stride == 1) {  // a vector: one contiguous line
            if (width >= 2 && width % 2 == 0)
                kernels.line(output, width, h0, h1, K, work.get());
            else
                split(output, 1, width);
        } else {
            int done = 0;
            if (width >= 2 && width % 2 == 0) {
                const int groups = height / kernels.groupRows;
                kernels.rowGroups(source, output, stride, groups, width, h0, h1, K, work.get());
                done = groups * kernels.groupRows;
            }
            if (source == input) copyRows(input, output, M, N, done);
            source = output;
            for (int r = done; r < height; ++r) split(output + r, stride, width);

            for (int q = 0; q < width; ++q) {
                double* column = output + static_cast<std::ptrdiff_t>(q) * stride;
                if (height >= 2 && height % 2 == 0)
                    kernels.line(column, height, h0, h1, K, work.get());
                else
                    split(column, 1, height);
            }
        }
        width /= 2;
        height = (stride == 1) ? 1 : height / 2;
    }
    if (source == input) copyRows(input, output, M, N, 0);
    return true;
}

bool dwt(const double* input, int M, int N, const double* h0, const double* h1, int K,
         int levels, double* output) {
    return dwtUsing(fast::best(), input, M, N, h0, h1, K, levels, output);
}

}  // namespace wavelet
