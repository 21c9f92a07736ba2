#include "scratch.h"

#include <cstddef>
#include <cstdlib>

double* scratchAllocate(std::int64_t count) {
    if (count < 1) count = 1;
    const std::uint64_t bytes = static_cast<std::uint64_t>(count) * sizeof(double);
    if (bytes / sizeof(double) != static_cast<std::uint64_t>(count) || bytes > SIZE_MAX) return nullptr;
    return static_cast<double*>(std::malloc(static_cast<std::size_t>(bytes)));
}

void scratchRelease(double* buffer) { std::free(buffer); }
