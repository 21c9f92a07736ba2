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

// At most two dimensions (trailing dimensions of 1 aside): the cores see
// every array as rows by columns, which would mix the pages of an N-D one.
void requireMatrix(const char* plugin, const char* name, const mxArray* array);

// At least `count` values, so that a core never reads past the array's end.
void requireValues(const char* plugin, const char* name, const mxArray* array,
                   std::uint64_t count, const char* what);

// Every size the core will use as a 32-bit signed integer.
void requireInt32(const char* plugin, const char* name, std::int64_t value);
void requireInt32(const char* plugin, const char* name, std::uint64_t value);
// A line buffer: `line` samples of the signal argument `lineName` and the
// `extension` its filter `filterName` adds.  When the sum does not fit, the
// argument of the larger part is the one named.
void requireLineInt32(const char* plugin, const char* lineName, std::int64_t line,
                      const char* filterName, std::int64_t extension);

// Ends the call with "<plugin>: <text>" (the host may supply the name itself).
[[noreturn]] void fail(const char* plugin, const char* text);

// The first value of a level argument, truncated toward zero to a 32-bit
// integer; NaN, infinities and values out of range give the most negative one.
int levelCount(double value);

// Whether d / 2^levels, formed in double precision, has no fractional part.
// Dimensions of 0 or 1 always pass.  With 2^levels infinite the quotient is 0.
bool divisibleByPowerOfTwo(std::uint64_t dimension, int levels);

}  // namespace checks
