#include "checks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

namespace {

// The dimensions that count: all but trailing 1s, at least two.  The host's
// dimension type differs between hosts, hence the template.
template <typename Dimension>
int significantDimensions(const Dimension* dims, int count) {
    int kept = 2;
    for (int k = 2; k < count; ++k)
        if (dims[k] != 1) kept = k + 1;
    return kept;
}

// "8x4x2" into `size` characters; dimensions that do not fit become "x...".
template <typename Dimension>
void formatSize(char* text, std::size_t size, const Dimension* dims, int count) {
    std::size_t used = 0;
    text[0] = '\0';
    for (int k = 0; k < count; ++k) {
        char one[32];
        const int length = std::snprintf(one, sizeof one, k == 0 ? "%llu" : "x%llu",
                                         static_cast<unsigned long long>(dims[k]));
        // Always leave room for the closing "x...".
        if (used + static_cast<std::size_t>(length) + 5 > size) {
            std::snprintf(text + used, size - used, "x...");
            return;
        }
        std::memcpy(text + used, one, static_cast<std::size_t>(length) + 1);
        used += static_cast<std::size_t>(length);
    }
}

}  // namespace

void requireMatrix(const char* plugin, const char* name, const mxArray* array) {
    const int count = static_cast<int>(mxGetNumberOfDimensions(array));
    const auto* dims = mxGetDimensions(array);
    const int kept = significantDimensions(dims, count);
    if (kept <= 2) return;
    char size[80];
    formatSize(size, sizeof size, dims, kept);
    char text[160];
    std::snprintf(text, sizeof text, "argument %s must be a vector or a matrix (%s given)", name,
                  size);
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

void requireLineInt32(const char* plugin, const char* lineName, std::int64_t line,
                      const char* filterName, std::int64_t extension) {
    requireInt32(plugin, line >= extension ? lineName : filterName, line + extension);
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
