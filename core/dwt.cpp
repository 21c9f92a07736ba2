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


bool dwtUsing(fast::Isa isa, const double* input, int M, int N, const double* h0,
              const double* h1, int K, int levels, double* output) {
    if (!fast::takes(isa, K)) return dwtReference(input, M, N, h0, h1, K, levels, output);
    const fast::AnalysisKernels kernels = fast::analysisKernels(isa);

    const int stride = (N == 1) ? 1 : M;
    int width = (N == 1) ? M : N;
    int height = (N == 1) ? 1 : M;
    const bool matrix = stride > 1;
    Scratch line(sizes::dwtLineLength(M, N, K));
    Scratch low(sizes::larger(M, N));
    Scratch high(sizes::larger(M, N));
    Scratch work(fast::workLength(kernels.groupRows, matrix ? width : 0, sizes::larger(M, N), K));
    // Levels after the first read their block from a copy: a level written in
    // place would overwrite columns it has still to read.
    Scratch block(matrix && levels > 1 ? static_cast<std::int64_t>(M / 2) * (N / 2) : 0);
    if (!line || !low || !high || !work || !block) return false;
    if (M <= 0 || N <= 0) return true;

    // The reference step serves the lines the kernels do not take: odd
    // lengths, and rows left over after the last full group.
    const auto split = [&](double* first, int step, int n) {
        splitLine(first, step, n, h0, h1, K, line.get(), low.get(), high.get());
    };
    const auto even = [](int n) { return n >= 2 && n % 2 == 0; };
    // Until the first level has written the output, it still is to be copied.
    bool copied = false;
    const auto copy = [&] {
        if (!copied)
            for (std::ptrdiff_t k = 0; k < static_cast<std::ptrdiff_t>(M) * N; ++k)
                output[k] = input[k];
        copied = true;
    };

    for (int level = 0; level < levels && (width > 1 || height > 1); ++level) {
        if (!matrix) {  // a vector: one contiguous line
            copy();
            if (even(width))
                kernels.line(output, width, h0, h1, K, work.get());
            else
                split(output, 1, width);
        } else if (even(height) && even(width)) {
            // The whole level at once; the first one reads the input itself
            // and writes every sample of the output, which saves the copy.
            if (copied) {
                for (int q = 0; q < width; ++q)
                    for (int r = 0; r < height; ++r)
                        block.get()[static_cast<std::ptrdiff_t>(q) * height + r] =
                            output[static_cast<std::ptrdiff_t>(q) * M + r];
                kernels.level(block.get(), height, output, M, height, width, h0, h1, K,
                              work.get());
            } else {
                kernels.level(input, M, output, M, height, width, h0, h1, K, work.get());
                copied = true;
            }
        } else {
            copy();
            int done = 0;
            if (even(width) && height >= kernels.groupRows) {
                const int groups = height / kernels.groupRows;
                kernels.rowGroups(output, output, stride, groups, width, h0, h1, K, work.get());
                done = groups * kernels.groupRows;
            }
            for (int r = done; r < height; ++r) split(output + r, stride, width);
            for (int q = 0; q < width; ++q) {
                double* column = output + static_cast<std::ptrdiff_t>(q) * stride;
                if (even(height))
                    kernels.line(column, height, h0, h1, K, work.get());
                else
                    split(column, 1, height);
            }
        }
        width /= 2;
        height = matrix ? height / 2 : 1;
    }
    copy();
    return true;
}

bool dwt(const double* input, int M, int N, const double* h0, const double* h1, int K,
         int levels, double* output) {
    return dwtUsing(fast::best(), input, M, N, h0, h1, K, levels, output);
}

}  // namespace wavelet
