#include "idwt.h"

#include <cmath>

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

}  // namespace

bool idwtReference(double* output, int M, int N, const double* g0, const double* g1, int K, int levels,
          const double* input) {
    Scratch line(sizes::larger(M, N));
    Scratch low(sizes::idwtBandLength(M, N, K));
    Scratch high(sizes::idwtBandLength(M, N, K));
    if (!line || !low || !high) return false;

    const long long count = static_cast<long long>(M) * N;
    for (long long k = 0; k < count; ++k) output[k] = input[k];

    if (levels <= 0) return true;

    // A column vector is handled as one row, like a row vector.
    const int H = (N == 1) ? 1 : M;
    const int W = (N == 1) ? M : N;
    const double scale = std::ldexp(1.0, levels - 1);  // +inf from 2^1024 on
    int R = (H == 1) ? 1 : static_cast<int>(static_cast<double>(H) / scale);
    int C = static_cast<int>(static_cast<double>(W) / scale);

    // An empty starting block stays empty however often it doubles: no level
    // changes anything, so there is nothing to run (L may be near 2^31).
    if (R <= 0 || C <= 0) return true;

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
    if (!fast::takes(isa, K) || K < 2)
        return idwtReference(output, M, N, g0, g1, K, levels, input);
    const fast::SynthesisKernels kernels = fast::synthesisKernels(isa);

    const int H = (N == 1) ? 1 : M;
    const int W = (N == 1) ? M : N;
    const bool rowGroups = H >= kernels.groupRows;
    Scratch line(sizes::larger(M, N));
    Scratch low(sizes::idwtBandLength(M, N, K));
    Scratch high(sizes::idwtBandLength(M, N, K));
    Scratch work(sizes::larger(
        fast::workLength(kernels.groupRows, rowGroups ? W : 0, sizes::larger(M, N), K),
        H >= 2 ? fast::synthesisLevelWork(H, K) : 0));
    if (!line || !low || !high || !work) return false;

    const double scale = levels > 0 ? std::ldexp(1.0, levels - 1) : 1.0;
    int R = (H == 1) ? 1 : static_cast<int>(static_cast<double>(H) / scale);
    int C = static_cast<int>(static_cast<double>(W) / scale);
    const auto even = [](int n) { return n >= 2 && n % 2 == 0; };
    // A matrix whose blocks split evenly at every level and end as the whole
    // matrix is rebuilt level by level, column by column, each level from the
    // coarser level's result and the input's bands straight into the next
    // array: the last level writes the output, the ones before alternate
    // between two smaller arrays (a level written in place would overwrite
    // band columns it has still to read).  Nothing is copied first.
    const bool wholeLevels = levels >= 1 && levels <= 31 && H >= 2 && even(R) && even(C) &&
                             (static_cast<std::int64_t>(R) << (levels - 1)) == H &&
                             (static_cast<std::int64_t>(C) << (levels - 1)) == W;
    Scratch coarse(wholeLevels && levels >= 2 ? static_cast<std::int64_t>(H / 2) * (W / 2) : 0);
    Scratch coarser(wholeLevels && levels >= 3 ? static_cast<std::int64_t>(H / 4) * (W / 4) : 0);
    if (!coarse || !coarser) return false;
    if (wholeLevels) {
        fast::Block from{input, H, input, H};
        for (int level = 0; level < levels; ++level, R *= 2, C *= 2) {
            const int toEnd = levels - 1 - level;
            double* to = toEnd == 0 ? output : toEnd % 2 == 1 ? coarse.get() : coarser.get();
            const int stride = toEnd == 0 ? H : R;
            kernels.level(from, to, stride, R, C, g0, g1, K, work.get());
            from = fast::Block{to, stride, input, H};
        }
        return true;
    }

    const long long count = static_cast<long long>(M) * N;
    for (long long k = 0; k < count; ++k) output[k] = input[k];
    if (levels <= 0 || R <= 0 || C <= 0) return true;

    // The reference step serves the lines the kernels do not take: odd
    // lengths, and rows left over after the last full group.
    const auto merge = [&](double* first, int stride, int n) {
        mergeLine(first, stride, n, g0, g1, K, K / 2 - 1, line.get(), low.get(), high.get());
    };
    for (int level = 0;; ++level) {
        if (H >= 2) {
            for (int c = 0; c < C; ++c) {
                double* column = output + static_cast<long long>(c) * H;
                if (even(R))
                    kernels.line(column, R, g0, g1, K, work.get());
                else
                    merge(column, 1, R);
            }
        }
        int done = 0;
        if (H == 1 && even(C)) {  // a vector: one contiguous line
            kernels.line(output, C, g0, g1, K, work.get());
            done = 1;
        } else if (even(C)) {
            const int groups = R / kernels.groupRows;
            kernels.rowGroups(output, H, groups, C, g0, g1, K, work.get());
            done = groups * kernels.groupRows;
        }
        for (int r = done; r < R; ++r) merge(output + r, H, C);

        if (level + 1 >= levels) break;
        if (H != 1) R *= 2;
        C *= 2;
    }
    return true;
}

bool idwt(double* output, int M, int N, const double* g0, const double* g1, int K, int levels,
          const double* input) {
    return idwtUsing(fast::best(), output, M, N, g0, g1, K, levels, input);
}

}  // namespace wavelet
