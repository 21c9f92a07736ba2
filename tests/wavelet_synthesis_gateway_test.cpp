// wavelet_synthesis through the stand-in host: the outcomes of every argument
// set, the order of the checks, and the refusal of unsafe arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/idwt.h"
#include "gateway_support.h"
#include "plugins.h"
#include "test_support.h"

using gateway_support::expectMessage;
using standin::Array;
using support::sameBits;

namespace {

const char* const kCount = "There should be 4 input parameters!";
const char* const kRows = "The matrix row dimension must be divisible by 2^L";
const char* const kCols = "The matrix column dimension must be divisible by 2^L";
const std::string kShortG0 = "wavelet_synthesis: argument G0 must hold at least two filter taps";
const std::string kShortG1 =
    "wavelet_synthesis: argument G1 must hold at least as many filter taps as G0";

standin::Outcome synthesise(const mxArray* y, const mxArray* g0, const mxArray* g1,
                            const mxArray* level, int nlhs = 1) {
    return standin::call(wavelet_synthesis_entry, {y, g0, g1, level}, nlhs);
}

// Runs with the pair (0.5, 0.5), (0.5, -0.5) on an M x N ramp.
standin::Outcome synthesiseRamp(std::size_t M, std::size_t N, double level) {
    const Array y = standin::matrix(M, N, support::iota(M * N));
    const Array g0 = standin::row({0.5, 0.5});
    const Array g1 = standin::row({0.5, -0.5});
    const Array l = standin::scalar(level);
    return synthesise(y.get(), g0.get(), g1.get(), l.get());
}

std::vector<double> resultOf(const standin::Outcome& out) {
    EXPECT_FALSE(out.raised) << out.message;
    EXPECT_EQ(out.created, 1);
    return out.result ? standin::values(out.result.get()) : std::vector<double>{};
}

std::vector<double> coreResult(const std::vector<double>& y, std::size_t M, std::size_t N,
                               const std::vector<double>& g0, const std::vector<double>& g1,
                               int levels) {
    std::vector<double> x(y.size());
    EXPECT_TRUE(wavelet::idwt(x.data(), static_cast<int>(M), static_cast<int>(N), g0.data(),
                              g1.data(), static_cast<int>(g0.size()), levels, y.data()));
    return x;
}

std::vector<double> rampResult(std::size_t M, std::size_t N, int levels) {
    return coreResult(support::iota(M * N), M, N, {0.5, 0.5}, {0.5, -0.5}, levels);
}

}  // namespace

TEST(WaveletSynthesisGateway, WrongArgumentCounts) {
    const Array a = standin::scalar(1);
    for (int n : {0, 1, 3, 5, 6}) {
        std::vector<const mxArray*> args(static_cast<std::size_t>(n), a.get());
        expectMessage(standin::call(wavelet_synthesis_entry, args), kCount);
    }
    // The count comes before anything about the arguments.
    const Array text = standin::ofKind(standin::Kind::Char, 1, 3);
    expectMessage(standin::call(wavelet_synthesis_entry, {text.get(), text.get(), text.get()}),
                  kCount);
}

TEST(WaveletSynthesisGateway, WorkedExamples) {
    const std::vector<double> want{2.625, -1.375, 2.125, -2.875, 3.625, -2.375, 2.625, -4.375};
    EXPECT_TRUE(sameBits(resultOf(synthesiseRamp(8, 1, 3)), want));
    EXPECT_TRUE(sameBits(resultOf(synthesiseRamp(1, 8, 3)), want));
    EXPECT_TRUE(sameBits(resultOf(synthesiseRamp(4, 4, 2)),
                         {5.625, -0.375, 5.625, -1.375, -3.375, 0.625, -4.375, -0.375, 7.5, -2.5,
                          8.75, -2.25, -5.5, -1.5, -5.25, -1.25}));
}

TEST(WaveletSynthesisGateway, DivisibilityMessages) {
    expectMessage(synthesiseRamp(6, 4, 2), kRows);
    expectMessage(synthesiseRamp(4, 6, 2), kCols);
    expectMessage(synthesiseRamp(6, 6, 2), kRows);  // rows first
    expectMessage(synthesiseRamp(1, 6, 2), kCols);
    expectMessage(synthesiseRamp(6, 1, 2), kRows);
    expectMessage(synthesiseRamp(4, 4, 3), kRows);
    expectMessage(synthesiseRamp(8, 8, 1023), kRows);
    expectMessage(synthesiseRamp(1, 8, 1023), kCols);
}

TEST(WaveletSynthesisGateway, LevelCountsAreTruncatedAndNeverSignChecked) {
    std::mt19937_64 rng(5);
    const std::vector<double> data = support::randomValues(rng, 64);
    const Array y = standin::matrix(8, 8, data);
    const Array g0 = standin::row({1, 2, 3, 4});
    const Array g1 = standin::row({5, -6, 7, -8});
    const auto run = [&](double level) {
        const Array l = standin::scalar(level);
        return resultOf(synthesise(y.get(), g0.get(), g1.get(), l.get()));
    };
    const std::vector<double> two = coreResult(data, 8, 8, {1, 2, 3, 4}, {5, -6, 7, -8}, 2);
    EXPECT_FALSE(sameBits(two, data));
    EXPECT_TRUE(sameBits(run(2.9), two));
    EXPECT_TRUE(sameBits(run(2.0), two));
    EXPECT_TRUE(sameBits(run(3.0), coreResult(data, 8, 8, {1, 2, 3, 4}, {5, -6, 7, -8}, 3)));
    // A copy of Y: 0, negative, not a number, infinite, out of 32-bit range,
    // and from 1024 on (2^L infinite, the quotient 0).
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double level : {0.0, -0.5, 0.9, -3.0, nan, HUGE_VAL, -HUGE_VAL, 3e9, -3e9, 1024.0,
                         1e6, 2147483647.0}) {
        SCOPED_TRACE(level);
        EXPECT_TRUE(sameBits(run(level), data));
    }
}

TEST(WaveletSynthesisGateway, ResultHasTheInputSizeAndFillsTheFirstSlot) {
    for (int nlhs : {0, 1, 2}) {
        const Array y = standin::matrix(2, 8, support::iota(16));
        const Array g0 = standin::column({0.5, 0.5});  // column filters work too
        const Array g1 = standin::column({0.5, -0.5});
        const Array l = standin::scalar(1);
        const standin::Outcome out = synthesise(y.get(), g0.get(), g1.get(), l.get(), nlhs);
        EXPECT_TRUE(sameBits(resultOf(out), rampResult(2, 8, 1)));
        EXPECT_EQ(standin::rows(out.result.get()), 2u);
        EXPECT_EQ(standin::cols(out.result.get()), 8u);
    }
    // Empty inputs give empty results of the same size; 1 x 1 passes any level.
    for (auto size : {std::pair<std::size_t, std::size_t>{0, 0}, {0, 8}, {8, 0}}) {
        const standin::Outcome out = synthesiseRamp(size.first, size.second, 3);
        ASSERT_FALSE(out.raised) << out.message;
        EXPECT_EQ(standin::rows(out.result.get()), size.first);
        EXPECT_EQ(standin::cols(out.result.get()), size.second);
    }
    for (double level : {1.0, 2.0, 1023.0, 1024.0, 2147483647.0})
        EXPECT_TRUE(sameBits(resultOf(synthesiseRamp(1, 1, level)), {0.0}));
}

TEST(WaveletSynthesisGateway, FilterShapesAreFree) {
    std::mt19937_64 rng(6);
    const std::vector<double> data = support::randomValues(rng, 32);
    const std::vector<double> a{0.25, 1.5, -2, 3}, b{-1, 2, 0.5, -0.125};
    const std::vector<double> want = coreResult(data, 4, 8, a, b, 2);
    const Array y = standin::matrix(4, 8, data);
    const Array two = standin::scalar(2);
    // G0 as a row or a column, G1 of another shape or longer: K = 4 throughout
    // and the extra values of G1 have no effect.
    const Array g0Row = standin::row(a), g0Col = standin::column(a);
    const Array g1Col = standin::column(b);
    const Array g1Square = standin::matrix(2, 2, b);
    const Array g1Long = standin::row({b[0], b[1], b[2], b[3], 1e300, -1e300});
    for (const mxArray* g0 : {g0Row.get(), g0Col.get()})
        for (const mxArray* g1 : {g1Col.get(), g1Square.get(), g1Long.get()})
            EXPECT_TRUE(sameBits(resultOf(synthesise(y.get(), g0, g1, two.get())), want));
    // A 2 x 3 G0 has K = 3: its first three values are the taps.
    const Array g0Matrix = standin::matrix(2, 3, {9, 1, 2, 7, 7, 7});
    EXPECT_TRUE(sameBits(resultOf(synthesise(y.get(), g0Matrix.get(), g1Col.get(), two.get())),
                         coreResult(data, 4, 8, {9, 1, 2}, {b[0], b[1], b[2]}, 2)));
}

TEST(WaveletSynthesisGateway, RefusesArgumentsThatAreNotRealFullDoubles) {
    gateway_support::expectEveryPositionRefusesNonRealDoubles(
        wavelet_synthesis_entry, "wavelet_synthesis", {"Y", "G0", "G1", "L"},
        gateway_support::validWaveletCall);
}

TEST(WaveletSynthesisGateway, RefusesArraysOfMoreThanTwoDimensions) {
    gateway_support::expectEveryPositionRefusesArraysOfMoreThanTwoDimensions(
        wavelet_synthesis_entry, "wavelet_synthesis", {"Y", "G0", "G1", "L"},
        gateway_support::validWaveletCall);
}

TEST(WaveletSynthesisGateway, RefusesAnEmptyLevelAndShortFilters) {
    const Array y = standin::matrix(4, 4);
    const Array h = standin::row({1, 1});
    const Array one = standin::scalar(1);
    const Array empty = standin::matrix(0, 0);
    // The level value is never read when there is none.
    const Array noLevel = standin::declaredOnly(0, 1);
    expectMessage(synthesise(y.get(), h.get(), h.get(), noLevel.get()),
                  "wavelet_synthesis: argument L must hold the number of levels");
    // K <= 1: no tap pair.  A 0 x 5 G0 has K = 5 and no values.
    const Array scalarFilter = standin::scalar(3);
    const Array noRows = standin::matrix(0, 5), noCols = standin::matrix(5, 0);
    for (const mxArray* g0 : {empty.get(), scalarFilter.get(), noRows.get(), noCols.get()})
        expectMessage(synthesise(y.get(), g0, h.get(), one.get()), kShortG0);
    // G1 with fewer values than G0 has taps, whatever its shape.
    const Array four = standin::row({1, 2, 3, 4});
    const Array three = standin::column({1, 2, 3});
    const Array threeByOne = standin::matrix(1, 3, {1, 2, 3});
    for (const mxArray* g1 : {empty.get(), one.get(), three.get(), threeByOne.get(), noRows.get()})
        expectMessage(synthesise(y.get(), four.get(), g1, one.get()), kShortG1);
}

TEST(WaveletSynthesisGateway, TheFirstFailingCheckIsReported) {
    const Array y66 = standin::matrix(6, 6);
    const Array h = standin::row({1, 1});
    const Array two = standin::scalar(2);
    const Array empty = standin::matrix(0, 0);
    const Array single = standin::ofKind(standin::Kind::Single, 1, 1);
    // Classes before the empty level, the level before the filters, G0 before
    // G1, the filters before the divisibility.
    expectMessage(synthesise(y66.get(), empty.get(), h.get(), single.get()),
                  "wavelet_synthesis: argument L must be a real, non-sparse double array");
    expectMessage(synthesise(y66.get(), empty.get(), empty.get(), empty.get()),
                  "wavelet_synthesis: argument L must hold the number of levels");
    expectMessage(synthesise(y66.get(), empty.get(), empty.get(), two.get()), kShortG0);
    expectMessage(synthesise(y66.get(), h.get(), empty.get(), two.get()), kShortG1);
    expectMessage(synthesise(y66.get(), h.get(), h.get(), two.get()), kRows);
    // Divisibility before the 32-bit limits: 2^31 + 1 rows, no data behind them.
    const Array oddTall = standin::declaredOnly((std::size_t{1} << 31) + 1, 2);
    const Array one = standin::scalar(1);
    expectMessage(synthesise(oddTall.get(), h.get(), h.get(), one.get()), kRows);
}

TEST(WaveletSynthesisGateway, RefusesSizesBeyondThirtyTwoBits) {
    const Array h = standin::row({1, 1});
    const Array zero = standin::scalar(0);
    const std::size_t big = std::size_t{1} << 31;
    // Declared sizes only: no data exists, so a gateway that read it would crash.
    const Array tall = standin::declaredOnly(big, 1);
    const Array wide = standin::declaredOnly(1, big);
    const Array huge = standin::declaredOnly(65536, 65536);
    const std::string tooLarge = " is too large: sizes and buffers are limited to 2^31-1 elements";
    for (const mxArray* y : {tall.get(), wide.get(), huge.get()})
        expectMessage(synthesise(y, h.get(), h.get(), zero.get()),
                      "wavelet_synthesis: argument Y" + tooLarge);
    // Too many taps, and a band buffer (longest line plus K/2 - 1) too long,
    // which with K/2 - 1 < 2^30 is always the line's doing.
    const Array y = standin::matrix(4, 4);
    const Array longFilter = standin::declaredOnly(1, big);
    expectMessage(synthesise(y.get(), longFilter.get(), longFilter.get(), zero.get()),
                  "wavelet_synthesis: argument G0" + tooLarge);
    const Array longest = standin::declaredOnly(1, 2147483647u);
    const Array fourTaps = standin::row({1, 2, 3, 4});
    expectMessage(synthesise(longest.get(), fourTaps.get(), fourTaps.get(), zero.get()),
                  "wavelet_synthesis: argument Y" + tooLarge);
}
