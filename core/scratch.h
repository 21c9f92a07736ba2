// Heap scratch for the numeric cores.
//
// The allocator lives in its own translation unit (scratch.cpp) so that tests can
// link one that fails on demand and check that every core reports the failure
// instead of writing through a null pointer.
#pragma once

#include <cstdint>

double* scratchAllocate(std::int64_t count);
void scratchRelease(double* buffer);

// One scratch buffer of `count` doubles, released when it goes out of scope.
// A count of zero or less takes nothing (get() is null), so a plan can size
// the buffers its path does not use to zero.
class Scratch {
public:
    explicit Scratch(std::int64_t count)
        : wanted_(count > 0), data_(wanted_ ? scratchAllocate(count) : nullptr) {}
    ~Scratch() {
        if (data_ != nullptr) scratchRelease(data_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    double* get() const { return data_; }
    // False only when memory was wanted and none was given.
    explicit operator bool() const { return !wanted_ || data_ != nullptr; }

private:
    bool wanted_;
    double* data_;
};
