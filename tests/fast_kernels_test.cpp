// The fast kernels of every instruction set this processor has against the
// straightforward implementation, bit for bit, on random inputs of many
// shapes: full row groups and left-over rows, odd lengths, vectors of both
// orientations, filters longer than the lines.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "core/dwt.h"
#include "core/idwt.h"
#include "core/fast/isa.h"
#include "test_support.h"

using fast::Isa;
using support::sameBits;

namespace {

std::vector<Isa> fastSets() {
    std::vector<Isa> sets;
    for (Isa isa : {Isa::Baseline, Isa::Avx2, Isa::Avx512})
        if (fast::supported(isa)) sets.push_back(isa);
    return sets;
}

struct Shape {
    int M, N;
};

// Matrices whose row count fills groups of rows (32 per group) and leaves
// rows after the last full group, odd sizes that only direct calls produce, and vectors.
const Shape kShapes[] = {{32, 32}, {64, 16}, {16, 64}, {96, 40}, {40, 24}, {80, 12}, {8, 8},
                         {2, 2},   {4, 6},   {6, 4},   {67, 32}, {32, 17}, {33, 9}, {1, 64},
                         {64, 1},  {1, 30},  {30, 1},  {1, 1},   {0, 4},   {18, 2}, {2, 18},
                         {128, 8}, {40, 2}};
const int kTaps[] = {1, 2, 3, 4, 6, 8, 9, 20, 41};

}  // namespace

TEST(FastKernels, AnalysisMatchesTheReferenceBitForBit) {
    std::mt19937_64 rng(42);
    for (Isa isa : fastSets()) {
        for (const Shape& s : kShapes) {
            for (int K : kTaps) {
                for (int levels : {0, 1, 2, 3, 6}) {
                    const auto x = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
                    const auto h0 = support::randomValues(rng, K);
                    const auto h1 = support::randomValues(rng, K);
                    std::vector<double> want(x.size()), got(x.size(), -1.0);
                    ASSERT_TRUE(wavelet::dwtReference(x.data(), s.M, s.N, h0.data(), h1.data(),
                                                      K, levels, want.data()));
                    ASSERT_TRUE(wavelet::dwtUsing(isa, x.data(), s.M, s.N, h0.data(), h1.data(),
                                                  K, levels, got.data()));
                    ASSERT_TRUE(sameBits(got, want))
                        << "isa " << static_cast<int>(isa) << ", " << s.M << "x" << s.N
                        << ", K=" << K << ", L=" << levels;
                }
            }
        }
    }
}

TEST(FastKernels, SynthesisMatchesTheReferenceBitForBit) {
    std::mt19937_64 rng(43);
    for (Isa isa : fastSets()) {
        for (const Shape& s : kShapes) {
            for (int K : kTaps) {
                for (int levels : {0, 1, 2, 3, 6}) {
                    const auto y = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
                    const auto g0 = support::randomValues(rng, K);
                    const auto g1 = support::randomValues(rng, K);
                    std::vector<double> want(y.size()), got(y.size(), -1.0);
                    ASSERT_TRUE(wavelet::idwtReference(want.data(), s.M, s.N, g0.data(),
                                                       g1.data(), K, levels, y.data()));
                    ASSERT_TRUE(wavelet::idwtUsing(isa, got.data(), s.M, s.N, g0.data(),
                                                   g1.data(), K, levels, y.data()));
                    ASSERT_TRUE(sameBits(got, want))
                        << "isa " << static_cast<int>(isa) << ", " << s.M << "x" << s.N
                        << ", K=" << K << ", L=" << levels;
                }
            }
        }
    }
}

TEST(FastKernels, CircularFiltersMatchTheReferenceBitForBit) {
    using Filter = bool (*)(Isa, const double*, double*, int, int, const double*, const double*,
                            int);
    const Filter filters[] = {forward_wrap::filterColumnsANDrowsUsing,
                              backward_wrap::filterColumnsANDrowsUsing};
    std::mt19937_64 rng(44);
    for (Filter filter : filters) {
        for (Isa isa : fastSets()) {
            for (const Shape& s : kShapes) {
                for (int K : kTaps) {
                    const auto x = support::randomValues(rng, static_cast<std::size_t>(s.M) * s.N);
                    const auto hc = support::randomValues(rng, K);
                    const auto hr = support::randomValues(rng, K);
                    std::vector<double> want(x.size()), got(x.size(), -1.0);
                    ASSERT_TRUE(filter(Isa::Reference, x.data(), want.data(), s.M, s.N,
                                       hc.data(), hr.data(), K));
                    ASSERT_TRUE(filter(isa, x.data(), got.data(), s.M, s.N, hc.data(), hr.data(), K));
                    ASSERT_TRUE(sameBits(got, want))
                        << "isa " << static_cast<int>(isa) << ", " << s.M << "x" << s.N
                        << ", K=" << K;
                }
            }
        }
    }
}
