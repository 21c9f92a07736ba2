// A scratch allocator for tests: it can fail the n-th request, and it counts
// what is still held, so tests can see that a failure leaks nothing, and how
// much scratch a call holds at its peak.
#pragma once

#include <cstdint>

namespace failing_allocator {

void failRequest(int index);  // 0 = the next request; negative: never fail
int requests();               // requests since the last failRequest()
int live();                   // buffers handed out and not yet released
// The most doubles held at once since the last failRequest() (a request for
// fewer than one double counts as one).
std::int64_t peakDoubles();

}  // namespace failing_allocator
