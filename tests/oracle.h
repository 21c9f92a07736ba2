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

// Circular convolution of a periodic line: y[j] = sum over t = K-1 .. 0 of
// h[t] * x[(j - t) mod n], from +0.0, t descending.
inline std::vector<double> circularConvolution(const std::vector<double>& x, const double* h,
                                               int K) {
    const int n = static_cast<int>(x.size());
    std::vector<double> y(n);
    for (int j = 0; j < n; ++j) {
        double s = 0.0;
        for (int t = K - 1; t >= 0; --t) s += h[t] * x[wrap(static_cast<long long>(j) - t, n)];
        y[j] = s;
    }
    return y;
}

// Y[r, c] = sum over a, b of hc[a] * hr[b] * X[(r - a) mod R, (c - b) mod C],
// each column sum rounded before the row sums; a dimension of 1 is left alone.
inline Matrix circularConvolution2D(const Matrix& x, int R, int C, const double* hc,
                                    const double* hr, int K) {
    Matrix y = x;
    if (R > 1) {
        for (int c = 0; c < C; ++c) {
            const std::vector<double> line(y.begin() + c * R, y.begin() + (c + 1) * R);
            const std::vector<double> out = circularConvolution(line, hc, K);
            std::copy(out.begin(), out.end(), y.begin() + c * R);
        }
    }
    if (C > 1) {
        for (int r = 0; r < R; ++r) {
            std::vector<double> line(C);
            for (int c = 0; c < C; ++c) line[c] = y[r + c * R];
            line = circularConvolution(line, hr, K);
            for (int c = 0; c < C; ++c) y[r + c * R] = line[c];
        }
    }
    return y;
}

// One synthesis step from the band samples, with e = K - 2P:
//   x[2i + s] = sum over j = P-1 .. 0 of g0[e + 2j + s] * lo[(i - j) mod n]
//                                      + g1[e + 2j + s] * hi[(i - j) mod n],
// from +0.0, each pair added low term first.
inline std::vector<double> synthesiseLine(const std::vector<double>& lo,
                                          const std::vector<double>& hi, const double* g0,
                                          const double* g1, int K) {
    const int n = static_cast<int>(lo.size());
    const int P = K / 2;
    const int e = K - 2 * P;
    std::vector<double> x(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        for (int s = 0; s < 2; ++s) {
            double sum = 0.0;
            for (int j = P - 1; j >= 0; --j) {
                sum += g0[e + 2 * j + s] * lo[wrap(static_cast<long long>(i) - j, n)];
                sum += g1[e + 2 * j + s] * hi[wrap(static_cast<long long>(i) - j, n)];
            }
            x[2 * i + s] = sum;
        }
    }
    return x;
}

// Rebuilds a line in place from its two halves; the last sample of an odd
// line is not part of either band and keeps its value.
inline void synthesiseInPlace(std::vector<double>& line, const double* g0, const double* g1,
                              int K) {
    const std::size_t n = line.size() / 2;
    const std::vector<double> lo(line.begin(), line.begin() + n);
    const std::vector<double> hi(line.begin() + n, line.begin() + 2 * n);
    const std::vector<double> x = synthesiseLine(lo, hi, g0, g1, K);
    std::copy(x.begin(), x.end(), line.begin());
}

// The multi-level synthesis of an M x N matrix: columns then rows of the
// top-left block, which doubles at every level and starts at the dimension
// divided by 2^(levels - 1).  A vector of either orientation is one line.
inline Matrix idwt(const Matrix& y, int M, int N, const double* g0, const double* g1, int K,
                   int levels) {
    Matrix x = y;
    if (levels <= 0 || levels > 32) return x;
    const bool line = (N == 1 || M == 1);
    const long long H = line ? 1 : M;
    const long long W = (N == 1) ? M : N;
    long long R = line ? 1 : H >> (levels - 1);
    long long C = W >> (levels - 1);
    for (int l = 0; l < levels; ++l, R = line ? 1 : 2 * R, C *= 2) {
        for (long long c = 0; !line && c < C; ++c) {
            std::vector<double> v(R);
            for (long long r = 0; r < R; ++r) v[r] = x[r + c * H];
            synthesiseInPlace(v, g0, g1, K);
            for (long long r = 0; r < R; ++r) x[r + c * H] = v[r];
        }
        for (long long r = 0; r < R; ++r) {
            std::vector<double> v(C);
            for (long long c = 0; c < C; ++c) v[c] = x[r + c * H];
            synthesiseInPlace(v, g0, g1, K);
            for (long long c = 0; c < C; ++c) x[r + c * H] = v[c];
        }
    }
    return x;
}

}  // namespace oracle
