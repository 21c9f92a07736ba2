// libFuzzer harness: drives one plug-in's mexFunction through the stand-in
// host with arguments decoded from the fuzz input (any count, every class the
// checks tell apart, complex and sparse flags, sizes from empty to past 32
// bits, pages, filters of every shape, hostile level values).  A call must either
// raise an error or return exactly what the straightforward oracle computes;
// AddressSanitizer and UndefinedBehaviorSanitizer watch every access.
//
// Built once per plug-in with FUZZ_PLUGIN set to its name (tests/fuzz/CMakeLists.txt).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "oracle.h"
#include "plugins.h"

namespace {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::size_t pick(std::size_t count) { return next() % count; }
    double number() {
        static constexpr double kSpecial[] = {0.0, -0.0, 1.0, -1.0, 0.5, 2.7, -0.5, 1e300,
                                              -1e-300, NAN, INFINITY, -INFINITY, 1023, 1024,
                                              2147483648.0, -2147483649.0};
        switch (pick(4)) {
            case 0: return static_cast<double>(static_cast<std::int8_t>(next()));
            case 1: return kSpecial[pick(sizeof kSpecial / sizeof kSpecial[0])];
            case 2: {
                double v;
                std::uint8_t raw[8];
                for (auto& b : raw) b = next();
                std::memcpy(&v, raw, sizeof v);
                return v;
            }
            default: return static_cast<double>(static_cast<std::int8_t>(next())) / 16.0;
        }
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::size_t smallDimension(Bytes& in) {
    static constexpr std::size_t kSizes[] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 6, 7, 8, 8, 12, 16, 32};
    return kSizes[in.pick(sizeof kSizes / sizeof kSizes[0])];
}

// One argument: mostly a real double matrix with data, sometimes anything else.
standin::Array argument(Bytes& in, std::size_t position) {
    using standin::Kind;
    const std::size_t rows = smallDimension(in), cols = smallDimension(in);
    switch (in.pick(16)) {
        case 0: return standin::ofKind(static_cast<Kind>(1 + in.pick(13)), rows, cols);
        case 1: return standin::complexMatrix(rows, cols);
        case 2: return standin::sparseMatrix(rows, cols);
        case 3: {
            // Declared past 32 bits, holding only a few values.  A gateway may
            // rightly accept it as a second filter, of which it reads only the
            // K values a small first filter gives; reading further is a fault.
            const std::size_t huge[] = {std::size_t{1} << 31, (std::size_t{1} << 32) + 1,
                                        std::size_t{1} << 40};
            const std::size_t big = huge[in.pick(3)];
            const std::size_t other = in.pick(3);
            return in.pick(2) ? standin::declaredOnly(big, other, 64)
                              : standin::declaredOnly(other, big, 64);
        }
        case 4:
            // Each size within 32 bits, their product not: only the signal is
            // given such a size (as a filter it would be a valid, huge one).
            if (position == 0) return standin::declaredOnly(65536, 65536 + in.pick(2));
            [[fallthrough]];
        case 5:
            // Pages: one is still a matrix (a trailing 1 counts for nothing),
            // none or two make it N-D.
            if (in.pick(2)) return standin::array({rows, cols, in.pick(3)});
            [[fallthrough]];
        default: {
            std::vector<double> v(rows * cols);
            for (double& x : v) x = in.number();
            return standin::matrix(rows, cols, std::move(v));
        }
    }
}

bool realDouble(const mxArray* a) { return mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a); }

bool matrixShaped(const mxArray* a) {
    const int count = mxGetNumberOfDimensions(a);
    const int* dims = mxGetDimensions(a);
    for (int k = 2; k < count; ++k)
        if (dims[k] != 1) return false;
    return true;
}

int truncatedLevel(double v) {
    return (v > -2147483649.0 && v < 2147483648.0) ? static_cast<int>(v) : -2147483647 - 1;
}

// What the oracle says a successful call of each plug-in must return, and
// how many arguments it takes: <name>Target, one per plug-in.
struct Target {
    standin::Entry entry;
    std::size_t arguments;
    std::vector<double> (*expected)(const std::vector<const mxArray*>& args);
};

struct Call {
    explicit Call(const std::vector<const mxArray*>& args)
        : M(static_cast<int>(mxGetM(args[0]))), N(static_cast<int>(mxGetN(args[0]))),
          data(standin::values(args[0])), f0(mxGetPr(args[1])), f1(mxGetPr(args[2])) {}
    int M, N;
    std::vector<double> data;
    const double* f0;
    const double* f1;
};

int longerSide(const mxArray* a) { return static_cast<int>(std::max(mxGetM(a), mxGetN(a))); }

std::vector<double> analysisExpected(const std::vector<const mxArray*>& args) {
    const Call c(args);
    return oracle::dwt(c.data, c.M, c.N, c.f0, c.f1, longerSide(args[1]),
                       truncatedLevel(mxGetPr(args[3])[0]));
}

std::vector<double> synthesisExpected(const std::vector<const mxArray*>& args) {
    const Call c(args);
    return oracle::idwt(c.data, c.M, c.N, c.f0, c.f1, longerSide(args[1]),
                        truncatedLevel(mxGetPr(args[3])[0]));
}

std::vector<double> mergeExpected(const std::vector<const mxArray*>& args) {
    const Call c(args);
    return oracle::circularConvolution2D(c.data, c.M, c.N, c.f0, c.f1,
                                         static_cast<int>(mxGetN(args[1])));
}

std::vector<double> splitExpected(const std::vector<const mxArray*>& args) {
    // The forward wrap gives the same values advanced by K - 1 in each
    // filtered dimension.
    const Call c(args);
    const int K = static_cast<int>(mxGetN(args[1]));
    const std::vector<double> y = oracle::circularConvolution2D(c.data, c.M, c.N, c.f0, c.f1, K);
    std::vector<double> advanced(y.size());
    const int dr = c.M > 1 ? K - 1 : 0, dc = c.N > 1 ? K - 1 : 0;
    for (int col = 0; col < c.N; ++col)
        for (int r = 0; r < c.M; ++r)
            advanced[r + col * c.M] = y[oracle::wrap(r + dr, c.M) + oracle::wrap(col + dc, c.N) * c.M];
    return advanced;
}

[[maybe_unused]] const Target wavelet_analysisTarget = {wavelet_analysis_entry, 4, analysisExpected};
[[maybe_unused]] const Target wavelet_synthesisTarget = {wavelet_synthesis_entry, 4, synthesisExpected};
[[maybe_unused]] const Target cyclic_mergeTarget = {cyclic_merge_entry, 3, mergeExpected};
[[maybe_unused]] const Target cyclic_splitTarget = {cyclic_split_entry, 3, splitExpected};

#define FUZZ_TARGET_OF(name) name##Target
#define FUZZ_TARGET(name) FUZZ_TARGET_OF(name)
const Target& kTarget = FUZZ_TARGET(FUZZ_PLUGIN);

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(double)) != 0 && !(a[i] != a[i] && b[i] != b[i]))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    // Mostly the right argument count, sometimes any count from 0 to 6.
    const std::size_t count = in.pick(4) == 0 ? in.pick(7) : kTarget.arguments;
    std::vector<standin::Array> owned;
    std::vector<const mxArray*> args;
    for (std::size_t i = 0; i < count; ++i) {
        owned.push_back(argument(in, i));
        args.push_back(owned.back().get());
    }
    const standin::Outcome out = standin::call(kTarget.entry, args, static_cast<int>(in.pick(3)));
    if (out.raised) {
        if (out.created != 0 && out.message.find("out of memory") == std::string::npos) {
            std::fprintf(stderr, "a result was created before the error: %s\n", out.message.c_str());
            __builtin_trap();
        }
        return 0;
    }
    // Accepted: the arguments must have been sound, and the result exact.
    if (count != kTarget.arguments || !out.result) __builtin_trap();
    for (const mxArray* a : args)
        if (!realDouble(a) || !matrixShaped(a)) __builtin_trap();
    if (standin::rows(out.result.get()) != mxGetM(args[0]) ||
        standin::cols(out.result.get()) != mxGetN(args[0]))
        __builtin_trap();
    if (!sameBits(standin::values(out.result.get()), kTarget.expected(args))) {
        std::fprintf(stderr, "result differs from the oracle\n");
        __builtin_trap();
    }
    return 0;
}
