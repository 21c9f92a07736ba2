// A scratch allocator for tests: it can fail the n-th request, and it counts
// what is still held, so tests can see that a failure leaks nothing.
#pragma once

namespace failing_allocator {

void failRequest(int index);  // 0 = the next request; negative: never fail
int requests();               // requests since the last failRequest()
int live();                   // buffers handed out and not yet released

}  // namespace failing_allocator
