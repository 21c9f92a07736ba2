// Helpers shared by the C++ tests: bitwise comparison and reproducible data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/fast/isa.h"

namespace support {

inline std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Equal to the last bit (NaNs of any payload count as equal).
inline ::testing::AssertionResult sameBits(const std::vector<double>& got,
                                           const std::vector<double>& want) {
    if (got.size() != want.size())
        return ::testing::AssertionFailure()
               << "sizes differ: " << got.size() << " vs " << want.size();
    for (std::size_t i = 0; i < got.size(); ++i) {
        const bool bothNaN = got[i] != got[i] && want[i] != want[i];
        if (!bothNaN && bits(got[i]) != bits(want[i])) {
            std::ostringstream s;
            s.precision(17);
            s << "index " << i << ": got " << got[i] << ", want " << want[i];
            return ::testing::AssertionFailure() << s.str();
        }
    }
    return ::testing::AssertionSuccess();
}

// Values spread over several magnitudes and signs, so that any change in the
// order or rounding of a sum shows up in the last bits.
inline std::vector<double> randomValues(std::mt19937_64& rng, std::size_t count) {
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-20, 20);
    std::vector<double> v(count);
    for (double& x : v) x = std::ldexp(mantissa(rng), exponent(rng));
    return v;
}

inline std::vector<double> iota(std::size_t count, double first = 0.0) {
    std::vector<double> v(count);
    for (std::size_t i = 0; i < count; ++i) v[i] = first + static_cast<double>(i);
    return v;
}

// The reference and every instruction set this processor runs.
inline std::vector<fast::Isa> everySet() {
    std::vector<fast::Isa> sets{fast::Isa::Reference};
    for (fast::Isa isa : {fast::Isa::Baseline, fast::Isa::Avx2, fast::Isa::Avx512})
        if (fast::supported(isa)) sets.push_back(isa);
    return sets;
}

}  // namespace support
