#include "idwt.h"

#include <cmath>
#include <cstdint>

#include "fast/select.h"
#include "scratch.h"
#include "sizes.h"

namespace wavelet {

void upsampleANDfilter(double* line, int n, int K, const double* g0, const double* g1,
                       double* low, double* high) {
    if (n <= 0) return;
    const int P = K / 2;

    // Periodic prefix, one value at a time and in descending order: when the
    // band is shorter than the prefix the copy reads slots it has just written.
    for (int i = P - 2; i >= 0; --i) {
        low[i] = low[i + n];
        high[i] = high[i + n];
    }

    for (int i = 0; i < n; ++i) {
        double even = 0.0;
        double odd = 0.0;
        for (int k = 0; k < P; ++k) {
            odd = odd + low[i + k] * g0[K - 1 - 2 * k];
            odd = odd + high[i + k] * g1[K - 1 - 2 * k];
            even = even + low[i + k] * g0[K - 2 - 2 * k];
            even = even + high[i + k] * g1[K - 2 - 2 * k];
        }
        line[2 * i] = even;
        line[2 * i + 1] = odd;
    }
}

namespace {

// Rebuilds the line of `count` samples starting at `first`, `stride` apart,
// from its low band (first half) and high band (second half).  Only the 2n
// samples the step writes go back: the last sample of an odd line keeps its
// value.  `offset` is where the bands start in their buffers (P - 1, never
// below 0: with no tap pair nothing is read from them anyway).
void mergeLine(double* first, int stride, int count, const double* g0, const double* g1, int K,
               int offset, double* line, double* low, double* high) {
    const int n = count / 2;
    for (int k = 0; k < n; ++k) {
        low[offset + k] = first[k * stride];
        high[offset + k] = first[(n + k) * stride];
    }
    upsampleANDfilter(line, n, K, g0, g1, low, high);
    for (int k = 0; k < 2 * n; ++k) first[k * stride] = line[k];
}

// How a call runs, decided before anything is reserved or written: which
// path, and how much scratch (in doubles; zero reserves nothing).
enum class Path {
    Copy,       // no level writes a sample: the output is the input
    Zeros,      // no tap pair: every rebuilt sample is +0.0
    Reference,  // the straightforward code: a line and its two bands
    Signal,     // one long contiguous line, every level in one pass over the input
    Vector,     // any other line, each level reading its high band from the input
    Levels,     // blocks that split evenly: each level written into the next place
    InPlace,    // anything else: copied, then rebuilt level by level in the output
};

struct Plan {
    Path path = Path::Copy;
    int H = 0, W = 0;  // a column vector is handled as one row
    int R = 0, C = 0;  // the block the first level rebuilds
    int levels = 0;
    std::int64_t bands = 0;    // line buffers (see each path)
    std::int64_t work = 0;     // the kernels' work
};

Plan planFor(fast::Isa isa, int M, int N, int K, int levels, bool sameArrays) {
    Plan plan;
    plan.H = (N == 1) ? 1 : M;
    plan.W = (N == 1) ? M : N;
    plan.levels = levels;
    if (levels <= 0 || M <= 0 || N <= 0) return plan;
    const double scale = std::ldexp(1.0, levels - 1);  // +inf from 2^1024 on
    plan.R = (plan.H == 1) ? 1 : static_cast<int>(static_cast<double>(plan.H) / scale);
    plan.C = static_cast<int>(static_cast<double>(plan.W) / scale);
    // An empty starting block stays empty however often it doubles (L may be
    // near 2^31), and a 1 x 1 block rebuilds nothing unless a level follows.
    if (plan.R <= 0 || plan.C <= 0 || (levels == 1 && plan.R < 2 && plan.C < 2)) return plan;

    const int H = plan.H, W = plan.W;
    const std::int64_t longer = sizes::larger(M, N);
    if (K < 2) {
        plan.path = Path::Zeros;
    } else if (!fast::takes(isa, K)) {
        plan.path = Path::Reference;
        plan.bands = longer + 2 * sizes::idwtBandLength(M, N, K);
    } else if (H == 1 && !sameArrays && levels >= 2 && plan.C / 2 >= fast::synthesisSignalBand(K)) {
        // Its first level's bands long enough for the one-pass kernel, and
        // an output apart from the input, which holds every level's band.
        plan.path = Path::Signal;
        plan.work = fast::synthesisSignalWork(levels, K);
    } else if (H == 1) {
        // Rebuilt over its own input, a level would overwrite its high band
        // before reading all of it: that band is copied first.
        plan.path = Path::Vector;
        plan.bands = sameArrays ? (static_cast<std::int64_t>(plan.C) << (levels - 1)) / 2 : 0;
    } else {
        const fast::SynthesisKernels kernels = fast::synthesisKernels(isa);
        const std::int64_t rowWork = fast::rowGroupWork(kernels.groupRows, W, K);
        const auto even = [](std::int64_t n) { return n >= 2 && n % 2 == 0; };
        // The level kernel keeps about K columns of the block: taken only
        // while that is no more than a group of rows would need.
        const bool wholeLevels = !sameArrays && even(plan.R) && even(plan.C) &&
                                 (static_cast<std::int64_t>(plan.R) << (levels - 1)) == H &&
                                 (static_cast<std::int64_t>(plan.C) << (levels - 1)) == W &&
                                 fast::synthesisLevelWork(H, K) <= rowWork;
        if (wholeLevels) {
            plan.path = Path::Levels;
            plan.work = fast::synthesisLevelWork(H, K);
        } else {
            // Half a line for a column's high band, a whole line and half
            // another for a left-over row's bands and result.
            plan.path = Path::InPlace;
            plan.bands = 3 * (longer / 2);
            plan.work = H >= kernels.groupRows ? rowWork : 0;
        }
    }
    return plan;
}

void copyValues(double* to, const double* from, std::int64_t count) {
    if (to == from) return;
    for (std::int64_t k = 0; k < count; ++k) to[k] = from[k];
}

// The levels of a call without a tap pair: each writes +0.0 where it
// rebuilds, 2 floor(n / 2) samples of each line of the block.
void zeroLevels(const Plan& plan, double* output) {
    const int H = plan.H;
    int R = plan.R, C = plan.C;
    for (int level = 0;; ++level) {
        if (H >= 2)
            for (int c = 0; c < C; ++c)
                for (int r = 0; r < R / 2 * 2; ++r) output[static_cast<std::int64_t>(c) * H + r] = 0.0;
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C / 2 * 2; ++c) output[r + static_cast<std::int64_t>(c) * H] = 0.0;
        if (level + 1 >= plan.levels) break;
        if (H != 1) R *= 2;
        C *= 2;
    }
}

// A vector: level by level into the output, the first level from the input,
// the others over the previous level's result (the low band); every level's
// high band is still in the input.  Only an odd first block leaves a sample
// inside it alone.
bool rebuildVector(const fast::SynthesisKernels& kernels, const Plan& plan, double* output,
                   const double* g0, const double* g1, int K, const double* input) {
    Scratch band(plan.bands);
    if (!band) return false;
    int C = plan.C;
    for (int level = 0;; ++level) {
        const int n = C / 2;
        const double* high = input + n;
        if (band.get()) {
            copyValues(band.get(), high, n);
            high = band.get();
        }
        kernels.line(level == 0 ? input : output, high, output, n, g0, g1, K);
        if (C % 2 == 1) output[C - 1] = input[C - 1];
        if (level + 1 >= plan.levels) break;
        C *= 2;
    }
    copyValues(output + C, input + C, plan.W - C);
    return true;
}

// A long vector: all levels at once, the rest of the input copied after.
bool rebuildSignal(const fast::SynthesisKernels& kernels, const Plan& plan, double* output,
                   const double* g0, const double* g1, int K, const double* input) {
    Scratch work(plan.work);
    if (!work) return false;
    kernels.signal(input, plan.C, plan.levels, output, g0, g1, K, work.get());
    const std::int64_t rebuilt = static_cast<std::int64_t>(plan.C) << (plan.levels - 1);
    copyValues(output + rebuilt, input + rebuilt, plan.W - rebuilt);
    return true;
}

// A matrix whose blocks split evenly at every level and end as the whole
// matrix is rebuilt level by level, column by column, each level from the
// coarser level's result and the input's bands straight into the next
// place, nothing copied first.  The levels before the last one alternate
// between two quarters of the output that the ones after do not read: the
// top right (the last but one, whose column l the last level reads before it
// writes output column C/2 + l over it) and the bottom left.
bool rebuildLevels(const fast::SynthesisKernels& kernels, const Plan& plan, double* output,
                   const double* g0, const double* g1, int K, const double* input) {
    Scratch work(plan.work);
    if (!work) return false;
    const int H = plan.H;
    double* const topRight = output + static_cast<std::int64_t>(plan.W / 2) * H;
    double* const bottomLeft = output + H / 2;
    int R = plan.R, C = plan.C;
    fast::Block from{input, H, input, H};
    for (int level = 0; level < plan.levels; ++level, R *= 2, C *= 2) {
        const int toEnd = plan.levels - 1 - level;
        double* to = toEnd == 0 ? output : toEnd % 2 == 1 ? topRight : bottomLeft;
        kernels.level(from, to, H, R, C, g0, g1, K, work.get());
        from = fast::Block{to, H, input, H};
    }
    return true;
}

// Anything else: the input copied into the output, then each level rebuilt
// there, columns then rows, like the straightforward code.  A column is
// rebuilt over its own low band once its high band is copied aside; rows
// go in groups, and the rows after the last group one by one through the
// line kernel, gathered into a buffer and scattered back.
bool rebuildInPlace(const fast::SynthesisKernels& kernels, const Plan& plan, double* output,
                    const double* g0, const double* g1, int K, const double* input) {
    Scratch bands(plan.bands), work(plan.work);
    if (!bands || !work) return false;
    const int H = plan.H, W = plan.W;
    copyValues(output, input, static_cast<std::int64_t>(H) * W);
    double* line = bands.get();                     // a row's low band, then the row
    double* high = line + 2 * (plan.bands / 3);     // a line's high band
    int R = plan.R, C = plan.C;
    for (int level = 0;; ++level) {
        for (int c = 0; c < C; ++c) {
            double* column = output + static_cast<std::int64_t>(c) * H;
            const int n = R / 2;
            copyValues(high, column + n, n);
            kernels.line(column, high, column, n, g0, g1, K);
        }
        const int groups = R / kernels.groupRows;
        if (groups > 0) kernels.rowGroups(output, H, groups, C, g0, g1, K, work.get());
        const int n = C / 2;
        for (int r = groups * kernels.groupRows; r < R; ++r) {
            double* row = output + r;
            for (int l = 0; l < n; ++l) {
                line[l] = row[static_cast<std::int64_t>(l) * H];
                high[l] = row[static_cast<std::int64_t>(n + l) * H];
            }
            kernels.line(line, high, line, n, g0, g1, K);
            for (int l = 0; l < 2 * n; ++l) row[static_cast<std::int64_t>(l) * H] = line[l];
        }
        if (level + 1 >= plan.levels) break;
        R *= 2;
        C *= 2;
    }
    return true;
}

}  // namespace

bool idwtReference(double* output, int M, int N, const double* g0, const double* g1, int K,
                   int levels, const double* input) {
    const Plan plan = planFor(fast::Isa::Reference, M, N, K, levels, output == input);
    const long long count = static_cast<long long>(M) * N;
    if (plan.path == Path::Copy) {
        copyValues(output, input, count);
        return true;
    }
    Scratch line(sizes::larger(M, N));
    Scratch low(sizes::idwtBandLength(M, N, K));
    Scratch high(sizes::idwtBandLength(M, N, K));
    if (!line || !low || !high) return false;
    copyValues(output, input, count);

    const int H = plan.H;
    int R = plan.R, C = plan.C;
    const int P = K / 2;
    const int offset = P > 1 ? P - 1 : 0;
    for (int level = 0;; ++level) {
        if (H >= 2) {
            for (int c = 0; c < C; ++c)
                mergeLine(output + static_cast<long long>(c) * H, 1, R, g0, g1, K, offset,
                          line.get(), low.get(), high.get());
        }
        for (int r = 0; r < R; ++r)
            mergeLine(output + r, H, C, g0, g1, K, offset, line.get(), low.get(), high.get());

        // R and C never exceed H and W here (each started at most at the
        // dimension over 2^(L-1)); stopping before the last doubling keeps
        // them inside 32 bits.
        if (level + 1 >= levels) break;
        if (H != 1) R *= 2;
        C *= 2;
    }
    return true;
}

bool idwtUsing(fast::Isa isa, double* output, int M, int N, const double* g0, const double* g1,
               int K, int levels, const double* input) {
    const Plan plan = planFor(isa, M, N, K, levels, output == input);
    const fast::SynthesisKernels kernels = fast::synthesisKernels(isa);
    switch (plan.path) {
        case Path::Copy:
            copyValues(output, input, static_cast<std::int64_t>(M) * N);
            return true;
        case Path::Zeros:
            copyValues(output, input, static_cast<std::int64_t>(M) * N);
            zeroLevels(plan, output);
            return true;
        case Path::Signal: return rebuildSignal(kernels, plan, output, g0, g1, K, input);
        case Path::Vector: return rebuildVector(kernels, plan, output, g0, g1, K, input);
        case Path::Levels: return rebuildLevels(kernels, plan, output, g0, g1, K, input);
        case Path::InPlace: return rebuildInPlace(kernels, plan, output, g0, g1, K, input);
        case Path::Reference: break;
    }
    return idwtReference(output, M, N, g0, g1, K, levels, input);
}

bool idwt(double* output, int M, int N, const double* g0, const double* g1, int K, int levels,
          const double* input) {
    return idwtUsing(fast::best(), output, M, N, g0, g1, K, levels, input);
}

}  // namespace wavelet
