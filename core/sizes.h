// Size rules shared by the numeric cores and the gateways that guard them.
//
// Every core works with 32-bit signed sizes.  The gateways reject any call whose
// sizes or scratch lengths would leave that range; the cores use the same
// formulas to size their scratch, so the two can never disagree.
#pragma once

#include <cstdint>

namespace sizes {

constexpr std::int64_t kMaxInt32 = 2147483647;

inline bool fitsInt32(std::int64_t value) { return value >= 0 && value <= kMaxInt32; }

inline std::int64_t larger(std::int64_t a, std::int64_t b) { return a > b ? a : b; }

// Wavelet analysis: one line plus its periodic extension of K - 1 samples.
// A filter without taps still needs room for the line itself.
inline std::int64_t dwtLineLength(std::int64_t M, std::int64_t N, std::int64_t K) {
    return larger(M, N) + larger(K - 1, 0);
}

// Wavelet synthesis: a band plus its periodic prefix of K/2 - 1 samples.
inline std::int64_t idwtBandLength(std::int64_t M, std::int64_t N, std::int64_t K) {
    return larger(M, N) + larger(K / 2 - 1, 0);
}

// Circular filters: one line plus its wrap of K - 1 samples.
inline std::int64_t circularLineLength(std::int64_t n, std::int64_t K) {
    return n + larger(K - 1, 0);
}

}  // namespace sizes
