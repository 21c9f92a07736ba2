#include "dwt.h"

#include <cstddef>
#include <cstdint>

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


// Whether `levels` levels of an M x N matrix change anything: not when there
// are none, and not once the block is 1 x 1 (a level then stores nothing).
bool onlyCopies(int M, int N, int levels) {
    return levels <= 0 || (M == 1 && N == 1);
}

void copyOf(const double* input, std::int64_t count, double* output) {
    if (input == output) return;
    for (std::int64_t k = 0; k < count; ++k) output[k] = input[k];
}

bool even(int n) { return n >= 2 && n % 2 == 0; }

// The shape of a call: a vector, whatever its orientation, is one line with
// stride 1; a matrix has rows `stride` apart.
struct Shape {
    int stride, width, height;
    bool matrix() const { return stride > 1; }
};

Shape shapeOf(int M, int N) {
    if (N == 1) return {1, M, 1};
    if (M == 1) return {1, N, 1};
    return {M, N, M};
}

}  // namespace

bool dwtReference(const double* input, int M, int N, const double* h0, const double* h1, int K,
         int levels, double* output) {
    if (M <= 0 || N <= 0) return true;  // an empty matrix has no line to split
    const std::int64_t count = static_cast<std::int64_t>(M) * N;
    if (onlyCopies(M, N, levels)) {
        copyOf(input, count, output);
        return true;
    }
    Scratch line(sizes::dwtLineLength(M, N, K));
    Scratch low(sizes::larger(M, N));
    Scratch high(sizes::larger(M, N));
    if (!line || !low || !high) return false;
    copyOf(input, count, output);

    Shape shape = shapeOf(M, N);
    // Once the block has at most one row and one column a level stores nothing,
    // so stopping there gives the same result as running every level.
    for (int level = 0; level < levels && (shape.width > 1 || shape.height > 1); ++level) {
        for (int r = 0; r < shape.height; ++r)
            splitLine(output + r, shape.stride, shape.width, h0, h1, K, line.get(), low.get(),
                      high.get());
        if (shape.matrix()) {
            for (int q = 0; q < shape.width; ++q)
                splitLine(output + static_cast<std::ptrdiff_t>(q) * shape.stride, 1, shape.height,
                          h0, h1, K, line.get(), low.get(), high.get());
        }
        shape.width /= 2;
        shape.height = shape.matrix() ? shape.height / 2 : 1;
    }
    return true;
}

namespace {

// The first level of a matrix, when both sides of the block are even and the
// output is not the input, runs whole in the level kernel, reading the input
// and writing every sample of the output (which saves the copy).  Any other
// level runs in place in the output, row pass then column pass: a whole level
// there would need a copy of its block to read from, a quarter of the output
// in fresh memory on every call, and filling fresh pages costs more than the
// second pass over a block.
bool wholeLevel(const Shape& s, int level, bool inPlace) {
    return level == 0 && !inPlace && even(s.height) && even(s.width);
}

// Scratch to split one line of n samples in place with the line kernel: the
// line itself (read while the bands are written), and for a strided line its
// two bands, which go back in one sweep.
std::int64_t inPlaceWork(std::int64_t n, bool strided, int K) {
    return n + (strided ? n : 0) + fast::analysisLineWork(K);
}

// What one call does, decided before any scratch is taken: how many levels
// change anything, and the two buffers it needs.
struct Plan {
    int levels = 0;          // 0: the call only copies
    bool signal = false;     // a vector: all levels in one pass of the signal kernel
    std::int64_t copy = 0;   // a signal's copy, read while the output (its input) is written
    std::int64_t work = 0;   // the kernels' work
};

Plan planOf(const fast::AnalysisKernels& kernels, int M, int N, int K, int levels,
            bool inPlace) {
    Plan plan;
    if (M <= 0 || N <= 0 || onlyCopies(M, N, levels)) return plan;
    Shape shape = shapeOf(M, N);
    const auto grow = [](std::int64_t& to, std::int64_t need) { if (need > to) to = need; };
    for (int level = 0; level < levels && (shape.width > 1 || shape.height > 1); ++level) {
        ++plan.levels;
        if (!shape.matrix()) {
            // nothing per level: the signal kernel's work is counted below
        } else if (wholeLevel(shape, level, inPlace)) {
            grow(plan.work, fast::analysisLevelWork(shape.height, K, kernels.levelColumns));
        } else {
            if (shape.width > 1) {
                const int groups = even(shape.width) ? shape.height / kernels.groupRows : 0;
                if (groups > 0)
                    grow(plan.work, (static_cast<std::int64_t>(shape.width) + K + 2) * kernels.groupRows);
                if (groups * kernels.groupRows < shape.height)
                    grow(plan.work, inPlaceWork(shape.width, true, K));
            }
            if (shape.height > 1) grow(plan.work, inPlaceWork(shape.height, false, K));
        }
        shape.width /= 2;
        shape.height = shape.matrix() ? shape.height / 2 : 1;
    }
    if (!shape.matrix()) {
        plan.signal = true;
        const int n = M > N ? M : N;
        plan.work = fast::analysisSignalWork(n, plan.levels, K);
        if (inPlace) plan.copy = n;  // the kernel reads its input while it writes
    }
    return plan;
}

// Splits the n samples starting at `first`, `stride` apart, in place.
void splitInPlace(const fast::AnalysisKernels& kernels, double* first, std::ptrdiff_t stride,
                  int n, const double* h0, const double* h1, int K, double* work) {
    double* line = work;
    double* bands = work + n;
    double* lineWork = bands + (stride > 1 ? n : 0);
    const int half = n / 2;
    for (int k = 0; k < n; ++k) line[k] = first[k * stride];
    if (stride == 1) {
        kernels.line(line, n, first, first + half, h0, h1, K, lineWork);
        return;
    }
    kernels.line(line, n, bands, bands + half, h0, h1, K, lineWork);
    for (int k = 0; k < 2 * half; ++k) first[k * stride] = bands[k];
}

}  // namespace

bool dwtUsing(fast::Isa isa, const double* input, int M, int N, const double* h0,
              const double* h1, int K, int levels, double* output) {
    if (!fast::takes(isa, K)) return dwtReference(input, M, N, h0, h1, K, levels, output);
    const fast::AnalysisKernels kernels = fast::analysisKernels(isa);
    const bool inPlace = input == output;
    const Plan plan = planOf(kernels, M, N, K, levels, inPlace);
    Scratch copy(plan.copy);
    Scratch work(plan.work);
    if (!copy || !work) return false;
    if (M <= 0 || N <= 0) return true;
    const std::int64_t count = static_cast<std::int64_t>(M) * N;

    if (plan.levels == 0) {
        copyOf(input, count, output);
        return true;
    }
    if (plan.signal) {
        const double* from = input;
        if (inPlace) {
            copyOf(input, count, copy.get());
            from = copy.get();
        }
        kernels.signal(from, static_cast<int>(count), plan.levels, output, h0, h1, K, work.get());
        return true;
    }

    Shape shape = shapeOf(M, N);
    // Until the first level has written the output, it still is to be copied.
    bool copied = false;
    for (int level = 0; level < plan.levels; ++level) {
        if (wholeLevel(shape, level, inPlace)) {
            kernels.level(input, M, output, M, shape.height, shape.width, h0, h1, K, work.get());
        } else {
            if (!copied) copyOf(input, count, output);
            int done = 0;
            if (even(shape.width) && shape.height >= kernels.groupRows) {
                const int groups = shape.height / kernels.groupRows;
                kernels.rowGroups(output, output, M, groups, shape.width, h0, h1, K, work.get());
                done = groups * kernels.groupRows;
            }
            if (shape.width > 1)
                for (int r = done; r < shape.height; ++r)
                    splitInPlace(kernels, output + r, M, shape.width, h0, h1, K, work.get());
            if (shape.height > 1)
                for (int q = 0; q < shape.width; ++q)
                    splitInPlace(kernels, output + static_cast<std::ptrdiff_t>(q) * M, 1,
                                 shape.height, h0, h1, K, work.get());
        }
        copied = true;
        shape.width /= 2;
        shape.height /= 2;
    }
    return true;
}

bool dwt(const double* input, int M, int N, const double* h0, const double* h1, int K,
         int levels, double* output) {
    return dwtUsing(fast::best(), input, M, N, h0, h1, K, levels, output);
}

}  // namespace wavelet
