// Argument checks shared by every gateway.  Each `require...` either returns or
// ends the call through the host's error operation; none reads array data.
#pragma once

#include <cstdint>

#include "../host/mex_api.h"

namespace checks {

// The argument count: `message` is the plug-in's own fixed wording.
void requireArgumentCount(int nrhs, int expected, const char* message);

// A real, full (non-sparse) double array: anything else would be read as doubles.
void requireRealDouble(const char* plugin, const char* name, const mxArray* array);

// At least `count` values, so that a core never reads past the array's end.
void requireValues(const char* plugin, const char* name, const mxArray* array,
                   std::uint64_t count, const char* what);

// Every size the core will use as a 32-bit signed integer.
void requireInt32(const char* plugin, const char* name, std::int64_t value);
void requireInt32(const char* plugin, const char* name, std::uint64_t value);

// Ends the call with "<plugin>: <text>" (the host may supply the name itself).
[[noreturn]] void fail(const char* plugin, const char* text);

// The first value of a level argument, truncated toward zero to a 32-bit
// integer; NaN, infinities and values out of range give the most negative one.
int levelCount(double value);

// Whether d / 2^levels, formed in double precision, has no fractional part.
// Dimensions of 0 or 1 always pass.  With 2^levels infinite the quotient is 0.
bool divisibleByPowerOfTwo(std::uint64_t dimension, int levels);

}  // namespace checks
