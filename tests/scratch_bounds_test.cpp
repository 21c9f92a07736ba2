// How much scratch each core holds at its peak, counted by the test allocator:
// a call that only copies holds none, and no call holds more than one output
// plus a few lines' worth, whatever the filter length or the number of lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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
