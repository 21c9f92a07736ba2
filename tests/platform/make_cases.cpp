// Writes the project's own replay cases, without expectations (the replay
// runner records them from the Linux build):
//   make_cases OUT_DIR COUNT_PER_PLUGIN NAME...
// Deterministic: one fixed seed, and our own mapping from the generator's
// 64-bit words to values, so that every run writes the same files.  Random
// calls of many shapes (vectors of both orientations, 1 x 1, empty), filters
// longer than the lines, fractional level counts, wrong argument counts and
// sizes that do not divide, for every plug-in named; then, for each argument
// of a call, the call with that argument given a third dimension.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "case_format.h"

namespace {

struct Random {
    std::mt19937_64 engine{20240611};
    std::uint64_t word() { return engine(); }
    // 0 .. n-1
    int below(int n) { return static_cast<int>(word() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    double value() {
        switch (below(20)) {
            case 0: return 0.0;
            case 1: return -0.0;
            case 2: return static_cast<double>(below(9) - 4);
            case 3: return std::ldexp(static_cast<double>(word() >> 11), -1074 + below(3));  // subnormal
            case 4: return std::ldexp(1.0 + static_cast<double>(word() >> 11) * 0x1p-53, 1000);
            default: {
                // A uniform-ish value in (-4, 4) with all 53 bits in use.
                const double u = static_cast<double>(word() >> 11) * 0x1p-53;
                return (chance(50) ? -4.0 : 4.0) * u;
            }
        }
    }
    double special() {
        switch (below(3)) {
            case 0: return std::numeric_limits<double>::infinity();
            case 1: return -std::numeric_limits<double>::infinity();
            default: return std::numeric_limits<double>::quiet_NaN();
        }
    }
    cases::Matrix matrix(std::size_t rows, std::size_t cols, bool specials = false) {
        cases::Matrix m;
        m.rows = rows;
        m.cols = cols;
        for (std::size_t i = 0; i < rows * cols; ++i)
            m.values.push_back(specials && chance(5) ? special() : value());
        return m;
    }
};

cases::Matrix scalar(double v) {
    cases::Matrix m;
    m.rows = m.cols = 1;
    m.values = {v};
    return m;
}

// A dimension for a level count: a multiple of 2^L, or 1, or (when `bad`)
// one that does not divide.
std::size_t dimension(Random& r, int levels, bool bad) {
    const std::size_t step = std::size_t{1} << levels;
    if (bad) return step * static_cast<std::size_t>(1 + r.below(3)) + 1 + static_cast<std::size_t>(r.below(static_cast<int>(step > 1 ? step - 1 : 1)));
    switch (r.below(6)) {
        case 0: return 1;
        default: return step * static_cast<std::size_t>(1 + r.below(levels >= 3 ? 3 : 6));
    }
}

// A filter of K taps as a row, a column or a small matrix whose larger side is K.
cases::Matrix waveletFilter(Random& r, int K, int shape, int width) {
    switch (shape) {
        case 0: return r.matrix(1, static_cast<std::size_t>(K));
        case 1: return r.matrix(static_cast<std::size_t>(K), 1);
        default: return r.matrix(static_cast<std::size_t>(K), static_cast<std::size_t>(width));
    }
}

// (X, H0, H1, L) for the two wavelet plug-ins.
std::vector<cases::Matrix> waveletCall(Random& r, std::string& what) {
    const int levels = r.below(4);
    const int kind = r.below(10);
    std::size_t M = dimension(r, levels, kind == 7);
    std::size_t N = dimension(r, levels, kind == 8);
    if (kind == 9) (r.chance(50) ? M : N) = 0;  // empty
    const int K = 1 + r.below(r.chance(30) ? 20 : 8);  // at times longer than the lines
    const int shape = r.below(3);
    const int width = 1 + r.below(K);
    cases::Matrix h0 = waveletFilter(r, K, shape, width);
    cases::Matrix h1 = waveletFilter(r, kind == 6 ? K + 1 : K, shape, width);
    double level = levels;
    if (r.chance(25)) level += 0.25 * (1 + r.below(3));       // fractional: truncated
    if (kind == 5) level = r.chance(50) ? -1.0 - r.below(3) : -0.5;  // negative, or truncated to 0
    if (kind == 4 && r.chance(50)) level = std::numeric_limits<double>::quiet_NaN();
    what = "levels " + std::to_string(levels) + ", " + std::to_string(M) + "x" + std::to_string(N) +
           ", K " + std::to_string(K);
    return {r.matrix(M, N, r.chance(10)), h0, h1, scalar(level)};
}

// (X, F1, F2) for the two circular plug-ins: K taps, the first filter's columns.
std::vector<cases::Matrix> circularCall(Random& r, std::string& what) {
    std::size_t M, N;
    switch (r.below(6)) {
        case 0: M = 1; N = static_cast<std::size_t>(1 + r.below(12)); break;
        case 1: M = static_cast<std::size_t>(1 + r.below(12)); N = 1; break;
        case 2: M = N = 1; break;
        case 3: M = static_cast<std::size_t>(r.below(3)); N = M == 0 ? static_cast<std::size_t>(r.below(4)) : 0; break;
        default: M = static_cast<std::size_t>(1 + r.below(9)); N = static_cast<std::size_t>(1 + r.below(9)); break;
    }
    const std::size_t K = static_cast<std::size_t>(1 + r.below(r.chance(30) ? 16 : 6));
    const std::size_t rows = r.chance(70) ? 1 : static_cast<std::size_t>(2 + r.below(2));
    what = std::to_string(M) + "x" + std::to_string(N) + ", K " + std::to_string(K);
    return {r.matrix(M, N, r.chance(10)), r.matrix(rows, K), r.matrix(rows, K)};
}

// Any other plug-in: a few small matrices.
std::vector<cases::Matrix> genericCall(Random& r, std::string& what) {
    std::vector<cases::Matrix> args;
    const int n = 1 + r.below(4);
    for (int i = 0; i < n; ++i)
        args.push_back(r.matrix(static_cast<std::size_t>(r.below(5)), static_cast<std::size_t>(r.below(5))));
    what = std::to_string(n) + " small matrices";
    return args;
}

// The same array with a third dimension: `pages` copies of its values.
cases::Matrix withPages(const cases::Matrix& m, std::size_t pages) {
    cases::Matrix paged = m;
    paged.moreDims = {pages};
    paged.values.clear();
    for (std::size_t p = 0; p < pages; ++p)
        paged.values.insert(paged.values.end(), m.values.begin(), m.values.end());
    return paged;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUT_DIR COUNT_PER_PLUGIN NAME...\n", argv[0]);
        return 2;
    }
    const std::string out = argv[1];
    const int count = std::atoi(argv[2]);
    Random r;
    std::ofstream index(out + "/index.txt", std::ios::binary);
    int number = 0;
    const auto write = [&](const cases::Case& c, const std::string& what) {
        char name[32];
        std::snprintf(name, sizeof name, "case%04d", number++);
        std::ofstream file(out + "/" + name + ".txt", std::ios::binary);
        file << cases::format(c);
        index << name << ' ' << c.op << ": " << what << '\n';
        if (!file) std::fprintf(stderr, "make_cases: cannot write into %s\n", out.c_str());
        return static_cast<bool>(file);
    };
    for (int a = 3; a < argc; ++a) {
        const std::string op = argv[a];
        const bool wavelet = op.rfind("wavelet_", 0) == 0;
        const bool circular = op.rfind("cyclic_", 0) == 0;
        for (int i = 0; i < count; ++i) {
            cases::Case c;
            c.op = op;
            std::string what;
            c.args = wavelet ? waveletCall(r, what) : circular ? circularCall(r, what) : genericCall(r, what);
            // Now and then a call with one argument too many or too few.
            if (r.chance(8)) {
                if (r.chance(50) || c.args.empty()) {
                    c.args.push_back(scalar(1.0));
                    what += ", one argument too many";
                } else {
                    c.args.resize(static_cast<std::size_t>(r.below(static_cast<int>(c.args.size()))));
                    what += ", " + std::to_string(c.args.size()) + " arguments";
                }
            }
            if (!write(c, what)) return 2;
        }
        // Each argument in turn with pages (two, or none at all): refused.
        cases::Case c;
        c.op = op;
        std::string what;
        c.args = wavelet ? waveletCall(r, what) : circular ? circularCall(r, what) : genericCall(r, what);
        for (std::size_t position = 0; position < c.args.size(); ++position) {
            for (std::size_t pages : {std::size_t{2}, std::size_t{0}}) {
                cases::Case paged = c;
                paged.args[position] = withPages(c.args[position], pages);
                if (!write(paged, what + ", argument " + std::to_string(position + 1) + " with " +
                                      std::to_string(pages) + " pages"))
                    return 2;
            }
        }
    }
    return index ? 0 : 2;
}
