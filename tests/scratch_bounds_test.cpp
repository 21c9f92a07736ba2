// How much scratch each core holds at its peak, counted by the test allocator:
// a call that only copies holds none, and no call holds more than one output
// plus a few lines' worth, whatever the filter length or the number of lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "failing_allocator.h"

namespace {

// The peak scratch, in doubles, of one call, which must succeed.
template <typename Call>
std::int64_t peakOf(Call call) {
    failing_allocator::failRequest(-1);
    EXPECT_TRUE(call());
    EXPECT_EQ(failing_allocator::live(), 0);
    return failing_allocator::peakDoubles();
}

}  // namespace

// -- analysis --

// -- synthesis --

// -- circular filters --

namespace {

using CircularFilter = bool (*)(const double*, double*, int, int, const double*, const double*,
                                int);
const CircularFilter kCircularFilters[] = {forward_wrap::filterColumnsANDrows,
                                           backward_wrap::filterColumnsANDrows};

std::int64_t circularPeak(CircularFilter f, int rows, int cols, int K) {
    const std::vector<double> x(static_cast<std::size_t>(rows) * cols, 1.0), taps(K, 0.5);
    std::vector<double> y(x.size());
    return peakOf([&] { return f(x.data(), y.data(), rows, cols, taps.data(), taps.data(), K); });
}

}  // namespace

TEST(CircularScratch, CopyOnlyCallsTakeNone) {
    for (CircularFilter f : kCircularFilters) {
        EXPECT_EQ(circularPeak(f, 1, 1, 8), 0);
        EXPECT_EQ(circularPeak(f, 0, 7, 8), 0);
        EXPECT_EQ(circularPeak(f, 7, 0, 8), 0);
    }
}

// Vectors read their line where it is; a matrix with one short side takes a
// few vectors' worth of its short lines; a long filter over many lines takes
// no K lines' worth.  64 doubles per sample of a line covers every
// instruction set's group of rows.
TEST(CircularScratch, StaysWithinAFewVectorsOfLines) {
    struct Case { int rows, cols, K; };
    const Case cases[] = {{1, 1 << 20, 8}, {1 << 20, 1, 8}, {2, 1 << 20, 8}, {1 << 20, 2, 8},
                          {4096, 200, 100}, {200, 4096, 100}};
    for (CircularFilter f : kCircularFilters) {
        for (const Case& c : cases) {
            const int shortSide = c.rows < c.cols ? c.rows : c.cols;
            const std::int64_t bound = c.rows > 2 && c.cols > 2
                                           ? 64 * (std::int64_t{c.rows} + c.cols + c.K)
                                           : 64 * (std::int64_t{shortSide} + c.K);
            EXPECT_LE(circularPeak(f, c.rows, c.cols, c.K), bound)
                << c.rows << "x" << c.cols << " K=" << c.K;
        }
    }
}
