#include "failing_allocator.h"

#include <cstddef>
#include <cstdlib>

#include "core/scratch.h"

namespace {
int failAt = -1;
int requestCount = 0;
int liveCount = 0;
std::int64_t liveDoubles = 0;
std::int64_t peak = 0;

// Each buffer carries its length in front of it (two doubles, so the data
// keeps malloc's alignment).
constexpr std::int64_t kHeader = 2;
}  // namespace

namespace failing_allocator {
void failRequest(int index) {
    failAt = index;
    requestCount = 0;
    peak = liveDoubles;
}
int requests() { return requestCount; }
int live() { return liveCount; }
std::int64_t peakDoubles() { return peak; }
}  // namespace failing_allocator

double* scratchAllocate(std::int64_t count) {
    if (requestCount++ == failAt) return nullptr;
    if (count < 1) count = 1;
    const std::uint64_t bytes = static_cast<std::uint64_t>(count + kHeader) * sizeof(double);
    if (bytes > SIZE_MAX / 2) return nullptr;
    auto* block = static_cast<double*>(std::malloc(static_cast<std::size_t>(bytes)));
    if (block == nullptr) return nullptr;
    reinterpret_cast<std::int64_t*>(block)[0] = count;
    ++liveCount;
    liveDoubles += count;
    if (liveDoubles > peak) peak = liveDoubles;
    return block + kHeader;
}

void scratchRelease(double* buffer) {
    if (buffer == nullptr) return;
    double* block = buffer - kHeader;
    --liveCount;
    liveDoubles -= reinterpret_cast<std::int64_t*>(block)[0];
    std::free(block);
}
