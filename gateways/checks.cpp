#include "checks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "../core/sizes.h"

namespace checks {

void fail(const char* plugin, const char* text) {
    // A fixed-size buffer: the error operation may leave this frame without
    // running destructors, so nothing here may own memory.
    char message[256];
    if (HOST_NAMES_PLUGIN_IN_ERRORS)
        std::snprintf(message, sizeof message, "%s", text);
    else
        std::snprintf(message, sizeof message, "%s: %s", plugin, text);
    mexErrMsgTxt(message);
    std::abort();  // the error operation never returns
}

void requireArgumentCount(int nrhs, int expected, const char* message) {
    if (nrhs != expected) {
        mexErrMsgTxt(message);
        std::abort();
    }
}

void requireRealDouble(const char* plugin, const char* name, const mxArray* array) {
    if (mxIsDouble(array) && !mxIsComplex(array) && !mxIsSparse(array)) return;
    char text[128];
    std::snprintf(text, sizeof text, "argument %s must be a real, non-sparse double array", name);
    fail(plugin, text);
}

void requireValues(const char* plugin, const char* name, const mxArray* array,
                   std::uint64_t count, const char* what) {
    if (mxGetNumberOfElements(array) >= count) return;
    char text[160];
    std::snprintf(text, sizeof text, "argument %s must hold %s", name, what);
    fail(plugin, text);
}

void requireInt32(const char* plugin, const char* name, std::int64_t value) {
    if (sizes::fitsInt32(value)) return;
    char text[160];
    std::snprintf(text, sizeof text,
                  "argument %s is too large: sizes and buffers are limited to 2^31-1 elements",
                  name);
    fail(plugin, text);
}

void requireInt32(const char* plugin, const char* name, std::uint64_t value) {
    requireInt32(plugin, name,
                 value > static_cast<std::uint64_t>(sizes::kMaxInt32)
                     ? sizes::kMaxInt32 + 1
                     : static_cast<std::int64_t>(value));
}

int levelCount(double value) {
    // Written as a range test so that NaN fails it too.
    if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int>(value);
    return -2147483647 - 1;
}

bool divisibleByPowerOfTwo(std::uint64_t dimension, int levels) {
    if (dimension <= 1) return true;
    const double q = static_cast<double>(dimension) / std::ldexp(1.0, levels);
    // A NaN difference (infinite quotient) counts as divisible.
    return !(q - std::floor(q) > 0.0);
}

}  // namespace checks
