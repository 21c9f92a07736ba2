// wavelet_analysis through the stand-in host: the outcomes of every argument
// set, the order of the checks, and the refusal of unsafe arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/dwt.h"
#include "gateway_support.h"
#include "plugins.h"
#include "test_support.h"

using gateway_support::expectMessage;
using standin::Array;
using support::sameBits;

namespace {

const char* const kCount = "There must be 4 input parameters!";
const char* const kFilters = "The size of the analyis filters are not consistent!";
const char* const kLevels = "The number of decomposition levels must be a non-negative integer!";
const char* const kRows = "The matrix row dimension must be of size m*2^L";
const char* const kCols = "The matrix column dimension must be of size n*2^L";

standin::Outcome analyse(const mxArray* x, const mxArray* h0, const mxArray* h1,
                         const mxArray* level, int nlhs = 1) {
    return standin::call(wavelet_analysis_entry, {x, h0, h1, level}, nlhs);
}

// Runs with the Haar-like pair (0.5, 0.5), (0.5, -0.5) on an M x N ramp.
standin::Outcome analyseRamp(std::size_t M, std::size_t N, double level) {
    const Array x = standin::matrix(M, N, support::iota(M * N));
    const Array h0 = standin::row({0.5, 0.5});
    const Array h1 = standin::row({0.5, -0.5});
    const Array l = standin::scalar(level);
    return analyse(x.get(), h0.get(), h1.get(), l.get());
}

std::vector<double> coreResult(std::size_t M, std::size_t N, int levels) {
    const std::vector<double> x = support::iota(M * N);
    const double h0[] = {0.5, 0.5}, h1[] = {0.5, -0.5};
    std::vector<double> y(x.size());
    wavelet::dwt(x.data(), static_cast<int>(M), static_cast<int>(N), h0, h1, 2, levels, y.data());
    return y;
}

}  // namespace

TEST(WaveletAnalysisGateway, WrongArgumentCounts) {
    const Array a = standin::scalar(1);
    for (int n : {0, 1, 3, 5, 6}) {
        std::vector<const mxArray*> args(static_cast<std::size_t>(n), a.get());
        expectMessage(standin::call(wavelet_analysis_entry, args), kCount);
    }
}

TEST(WaveletAnalysisGateway, OutcomesOfTheFixedChecks) {
    const Array x = standin::matrix(4, 4, support::iota(16));
    const Array row4 = standin::row({1, 2, 3, 4});
    const Array col4 = standin::column({1, 2, 3, 4});
    const Array one = standin::scalar(1);
    expectMessage(analyse(x.get(), row4.get(), col4.get(), one.get()), kFilters);

    for (double level : {-1.0, std::nan(""), 3e9, -3e9, HUGE_VAL, -HUGE_VAL})
        expectMessage(analyseRamp(8, 8, level), kLevels);
    expectMessage(analyseRamp(6, 4, 2), kRows);
    expectMessage(analyseRamp(4, 6, 2), kCols);
    expectMessage(analyseRamp(1, 6, 2), kCols);
    expectMessage(analyseRamp(6, 1, 2), kRows);
    expectMessage(analyseRamp(3, 1, 2), kRows);
    expectMessage(analyseRamp(4, 4, 3), kRows);
    // Level counts beyond every size, 2^L infinite included, fail like any other.
    expectMessage(analyseRamp(4, 4, 1023), kRows);
    expectMessage(analyseRamp(4, 4, 1024), kRows);
    expectMessage(analyseRamp(1, 8, 1024), kCols);
    expectMessage(analyseRamp(8, 1, 2147483647), kRows);
}

TEST(WaveletAnalysisGateway, AcceptedLevelCounts) {
    standin::Outcome out = analyseRamp(3, 5, -0.5);  // truncated to 0: a copy
    ASSERT_FALSE(out.raised) << out.message;
    EXPECT_TRUE(sameBits(standin::values(out.result.get()), support::iota(15)));

    out = analyseRamp(8, 8, 2.7);  // truncated to 2
    ASSERT_FALSE(out.raised) << out.message;
    EXPECT_TRUE(sameBits(standin::values(out.result.get()), coreResult(8, 8, 2)));

    out = analyseRamp(8, 8, 3);  // the last level works on the 2 x 2 corner
    ASSERT_FALSE(out.raised) << out.message;
    EXPECT_TRUE(sameBits(standin::values(out.result.get()), coreResult(8, 8, 3)));

    for (double level : {0.0, 1.0, 1023.0, 1024.0, 2147483647.0}) {
        out = analyseRamp(1, 1, level);
        ASSERT_FALSE(out.raised) << out.message;
        EXPECT_TRUE(sameBits(standin::values(out.result.get()), {0.0}));
    }
}

TEST(WaveletAnalysisGateway, ResultHasTheInputSizeAndFillsTheFirstSlot) {
    for (int nlhs : {0, 1, 2}) {
        const Array x = standin::matrix(2, 8, support::iota(16));
        const Array h0 = standin::column({0.5, 0.5});  // a column filter works too
        const Array h1 = standin::column({0.5, -0.5});
        const Array l = standin::scalar(1);
        const standin::Outcome out = analyse(x.get(), h0.get(), h1.get(), l.get(), nlhs);
        ASSERT_FALSE(out.raised) << out.message;
        EXPECT_EQ(out.created, 1);
        EXPECT_EQ(standin::rows(out.result.get()), 2u);
        EXPECT_EQ(standin::cols(out.result.get()), 8u);
        EXPECT_TRUE(sameBits(standin::values(out.result.get()), coreResult(2, 8, 1)));
    }
    // Empty inputs give empty results of the same size.
    for (auto size : {std::pair<std::size_t, std::size_t>{0, 0}, {0, 8}, {8, 0}}) {
        const standin::Outcome out = analyseRamp(size.first, size.second, 3);
        ASSERT_FALSE(out.raised) << out.message;
        EXPECT_EQ(standin::rows(out.result.get()), size.first);
        EXPECT_EQ(standin::cols(out.result.get()), size.second);
    }
}

TEST(WaveletAnalysisGateway, TheFirstFailingCheckIsReported) {
    const Array x64 = standin::matrix(6, 6);
    const Array row4 = standin::row({1, 2, 3, 4});
    const Array col4 = standin::column({1, 2, 3, 4});
    const Array minus = standin::scalar(-1);
    const Array two = standin::scalar(2);
    // Filters before the level sign, the level sign before the sizes.
    expectMessage(analyse(x64.get(), row4.get(), col4.get(), minus.get()), kFilters);
    expectMessage(analyse(x64.get(), row4.get(), row4.get(), minus.get()), kLevels);
    // Rows before columns.
    expectMessage(analyse(x64.get(), row4.get(), row4.get(), two.get()), kRows);
    // The argument count before anything about the arguments.
    const Array text = standin::ofKind(standin::Kind::Char, 1, 3);
    expectMessage(standin::call(wavelet_analysis_entry, {text.get(), text.get(), text.get()}),
                  kCount);
}

TEST(WaveletAnalysisGateway, RefusesArgumentsThatAreNotRealFullDoubles) {
    gateway_support::expectEveryPositionRefusesNonRealDoubles(
        wavelet_analysis_entry, "wavelet_analysis", {"X", "H0", "H1", "L"},
        gateway_support::validWaveletCall);
}

TEST(WaveletAnalysisGateway, RefusesArraysOfMoreThanTwoDimensions) {
    gateway_support::expectEveryPositionRefusesArraysOfMoreThanTwoDimensions(
        wavelet_analysis_entry, "wavelet_analysis", {"X", "H0", "H1", "L"},
        gateway_support::validWaveletCall);
}

TEST(WaveletAnalysisGateway, RefusesEmptyLevelsAndFilters) {
    const Array x = standin::matrix(4, 4);
    const Array h = standin::row({1, 1});
    const Array empty = standin::matrix(0, 0);
    const Array one = standin::scalar(1);
    expectMessage(analyse(x.get(), h.get(), h.get(), empty.get()),
                  "wavelet_analysis: argument L must hold the number of levels");
    expectMessage(analyse(x.get(), empty.get(), empty.get(), one.get()),
                  "wavelet_analysis: argument H0 must hold at least one filter tap");
    const Array noRows = standin::matrix(0, 5);
    expectMessage(analyse(x.get(), noRows.get(), noRows.get(), one.get()),
                  "wavelet_analysis: argument H0 must hold at least one filter tap");
}

TEST(WaveletAnalysisGateway, RefusesSizesBeyondThirtyTwoBits) {
    const Array h = standin::row({1, 1});
    const Array zero = standin::scalar(0);
    const std::size_t big = std::size_t{1} << 31;
    // Declared sizes only: no data exists, so a gateway that read it would crash.
    const Array tall = standin::declaredOnly(big, 1);
    const Array wide = standin::declaredOnly(1, big);
    const Array huge = standin::declaredOnly(65536, 65536);
    const std::string tooLarge =
        "wavelet_analysis: argument X is too large: sizes and buffers are limited to 2^31-1 elements";
    expectMessage(analyse(tall.get(), h.get(), h.get(), zero.get()), tooLarge);
    expectMessage(analyse(wide.get(), h.get(), h.get(), zero.get()), tooLarge);
    expectMessage(analyse(huge.get(), h.get(), h.get(), zero.get()), tooLarge);
    // The line buffer holds the longest line plus K - 1 samples; the argument
    // whose part of it is the larger one is named.
    const Array x = standin::matrix(4, 4);
    const Array longFilter = standin::declaredOnly(1, 2147483647u - 2);
    expectMessage(analyse(x.get(), longFilter.get(), longFilter.get(), zero.get()),
                  "wavelet_analysis: argument H0 is too large: sizes and buffers are limited to 2^31-1 elements");
    const Array longest = standin::declaredOnly(2147483647u, 1);
    expectMessage(analyse(longest.get(), h.get(), h.get(), zero.get()), tooLarge);
}
