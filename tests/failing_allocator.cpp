#include "failing_allocator.h"

#include <cstdlib>

#include "core/scratch.h"

namespace {
int failAt = -1;
int requestCount = 0;
int liveCount = 0;
}  // namespace

namespace failing_allocator {
void failRequest(int index) {
    failAt = index;
    requestCount = 0;
}
int requests() { return requestCount; }
int live() { return liveCount; }
}  // namespace failing_allocator

double* scratchAllocate(std::int64_t count) {
    if (requestCount++ == failAt) return nullptr;
    ++liveCount;
    return static_cast<double*>(std::malloc(static_cast<std::size_t>(count < 1 ? 1 : count) * sizeof(double)));
}

void scratchRelease(double* buffer) {
    if (buffer != nullptr) --liveCount;
    std::free(buffer);
}
