// Heap scratch for the numeric cores.
//
// The allocator lives in its own translation unit (scratch.cpp) so that tests can
// link one that fails on demand and check that every core reports the failure
// instead of writing through a null pointer.
#pragma once

#include <cstdint>

double* scratchAllocate(std::int64_t count);
void scratchRelease(double* buffer);

// One scratch buffer, released when it goes out of scope.  A negative or zero
// count still yields a valid (one-element) buffer so callers need no special case.
class Scratch {
public:
    explicit Scratch(std::int64_t count) : data_(scratchAllocate(count)) {}
    ~Scratch() { scratchRelease(data_); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    double* get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    double* data_;
};
