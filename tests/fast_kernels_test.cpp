// The fast kernels of every instruction set this processor has against the
// straightforward implementation, bit for bit, on random inputs of many
// shapes: full row groups and left-over rows, odd lengths, vectors of both
// orientations, filters longer than the lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
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

const char* nameOf(Isa isa) {
    switch (isa) {
        case Isa::Baseline: return "Baseline";
        case Isa::Avx2: return "Avx2";
        case Isa::Avx512: return "Avx512";
        default: return "Reference";
    }
}

// One run of each test per instruction set; a set this processor lacks is
// reported as skipped, so a run shows what it did not check.
class FastKernels : public ::testing::TestWithParam<Isa> {
protected:
    void SetUp() override {
        if (!fast::supported(GetParam()))
            GTEST_SKIP() << "this processor has no " << nameOf(GetParam());
    }
};

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

TEST_P(FastKernels, AnalysisMatchesTheReferenceBitForBit) {
    std::mt19937_64 rng(42);
    const Isa isa = GetParam();
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

TEST_P(FastKernels, SynthesisMatchesTheReferenceBitForBit) {
    std::mt19937_64 rng(43);
    const Isa isa = GetParam();
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

TEST_P(FastKernels, CircularFiltersMatchTheReferenceBitForBit) {
    using Filter = bool (*)(Isa, const double*, double*, int, int, const double*, const double*,
                            int);
    const Filter filters[] = {cyclic_split::filterColumnsANDrowsUsing,
                              cyclic_merge::filterColumnsANDrowsUsing};
    std::mt19937_64 rng(44);
    const Isa isa = GetParam();
    for (Filter filter : filters) {
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

INSTANTIATE_TEST_SUITE_P(EveryInstructionSet, FastKernels,
                         ::testing::Values(Isa::Baseline, Isa::Avx2, Isa::Avx512),
                         [](const ::testing::TestParamInfo<Isa>& info) {
                             return std::string(nameOf(info.param));
                         });
