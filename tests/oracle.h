// Straightforward reference implementations, written from the closed forms of
// the transforms (modular indexing, no extension buffers, no shared code with
// the cores), so that the cores can be checked against them bit for bit.
#pragma once

#include <vector>

namespace oracle {

using Matrix = std::vector<double>;  // column-major

inline int wrap(long long i, int n) {
    long long r = i % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

// One analysis band of a periodic line: band[k] = sum over m = K-1 .. 0 of
// h[m] * x[(2k + K - 1 - m) mod n], from +0.0, m descending.
inline std::vector<double> analysisBand(const std::vector<double>& x, const double* h, int K) {
    const int n = static_cast<int>(x.size());
    std::vector<double> band((n + 1) / 2);
    for (int k = 0; k < static_cast<int>(band.size()); ++k) {
        double s = 0.0;
        for (int m = K - 1; m >= 0; --m) s += h[m] * x[wrap(2LL * k + K - 1 - m, n)];
        band[k] = s;
    }
    return band;
}

// Replaces a line by its low band followed by its high band; an odd line keeps
// its last sample.
inline std::vector<double> analyseLine(const std::vector<double>& x, const double* h0,
                                       const double* h1, int K) {
    const std::vector<double> lo = analysisBand(x, h0, K);
    const std::vector<double> hi = analysisBand(x, h1, K);
    std::vector<double> y = x;
    const int half = static_cast<int>(x.size()) / 2;
    for (int k = 0; k < half; ++k) {
        y[k] = lo[k];
        y[half + k] = hi[k];
    }
    return y;
}

// The multi-level analysis of an M x N matrix: rows then columns of the
// top-left block, which halves at every level.  A vector is one line.
inline Matrix dwt(const Matrix& x, int M, int N, const double* h0, const double* h1, int K,
                  int levels) {
    Matrix y = x;
    const bool vector = (N == 1 || M == 1);
    const int length = (N == 1) ? M : N;
    if (vector) {
        int w = length;
        for (int l = 0; l < levels && w > 1; ++l, w /= 2) {
            std::vector<double> line(y.begin(), y.begin() + w);
            line = analyseLine(line, h0, h1, K);
            std::copy(line.begin(), line.end(), y.begin());
        }
        return y;
    }
    int rows = M, cols = N;
    for (int l = 0; l < levels && (rows > 1 || cols > 1); ++l, rows /= 2, cols /= 2) {
        for (int r = 0; r < rows; ++r) {
            std::vector<double> line(cols);
            for (int c = 0; c < cols; ++c) line[c] = y[r + c * M];
            line = analyseLine(line, h0, h1, K);
            for (int c = 0; c < cols; ++c) y[r + c * M] = line[c];
        }
        for (int c = 0; c < cols; ++c) {
            std::vector<double> line(rows);
            for (int r = 0; r < rows; ++r) line[r] = y[r + c * M];
            line = analyseLine(line, h0, h1, K);
            for (int r = 0; r < rows; ++r) y[r + c * M] = line[r];
        }
    }
    return y;
}

}  // namespace oracle
