// libFuzzer harness: drives one plug-in's mexFunction through the stand-in
// host with arguments decoded from the fuzz input (any count, every class the
// checks tell apart, complex and sparse flags, sizes from empty to past 32
// bits, pages, filters of every shape, hostile level values).  A call must either
// raise an error or return exactly what the straightforward oracle computes;
// AddressSanitizer and UndefinedBehaviorSanitizer watch every access.
//
// Built once per plug-in with FUZZ_PLUGIN set to its name's index below.
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

[[maybe_unused]] int truncatedLevel(double v) {
    return (v > -2147483649.0 && v < 2147483648.0) ? static_cast<int>(v) : -2147483647 - 1;
}

// What the oracle says a successful call must return.
std::vector<double> expected(const std::vector<const mxArray*>& args) {
    const mxArray* x = args[0];
    const int M = static_cast<int>(mxGetM(x)), N = static_cast<int>(mxGetN(x));
    const std::vector<double> data = standin::values(x);
    const double* f0 = mxGetPr(args[1]);
    const double* f1 = mxGetPr(args[2]);
#if FUZZ_PLUGIN == 0
    const int K = static_cast<int>(std::max(mxGetM(args[1]), mxGetN(args[1])));
    return oracle::dwt(data, M, N, f0, f1, K, truncatedLevel(mxGetPr(args[3])[0]));
#elif FUZZ_PLUGIN == 1
    const int K = static_cast<int>(std::max(mxGetM(args[1]), mxGetN(args[1])));
    return oracle::idwt(data, M, N, f0, f1, K, truncatedLevel(mxGetPr(args[3])[0]));
#else
    const int K = static_cast<int>(mxGetN(args[1]));
    std::vector<double> y = oracle::circularConvolution2D(data, M, N, f0, f1, K);
#if FUZZ_PLUGIN == 3
    // The forward wrap gives the same values advanced by K - 1 in each
    // filtered dimension.
    std::vector<double> advanced(y.size());
    const int dr = M > 1 ? K - 1 : 0, dc = N > 1 ? K - 1 : 0;
    for (int c = 0; c < N; ++c)
        for (int r = 0; r < M; ++r)
            advanced[r + c * M] = y[oracle::wrap(r + dr, M) + oracle::wrap(c + dc, N) * M];
    y = advanced;
#endif
    return y;
#endif
}

#if FUZZ_PLUGIN == 0
const standin::Entry kEntry = wavelet_analysis_entry;
const std::size_t kArgs = 4;
#elif FUZZ_PLUGIN == 1
const standin::Entry kEntry = wavelet_synthesis_entry;
const std::size_t kArgs = 4;
#elif FUZZ_PLUGIN == 2
const standin::Entry kEntry = cyclic_merge_entry;
const std::size_t kArgs = 3;
#else
const standin::Entry kEntry = cyclic_split_entry;
const std::size_t kArgs = 3;
#endif

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
    const std::size_t count = in.pick(4) == 0 ? in.pick(7) : kArgs;
    std::vector<standin::Array> owned;
    std::vector<const mxArray*> args;
    for (std::size_t i = 0; i < count; ++i) {
        owned.push_back(argument(in, i));
        args.push_back(owned.back().get());
    }
    const standin::Outcome out = standin::call(kEntry, args, static_cast<int>(in.pick(3)));
    if (out.raised) {
        if (out.created != 0 && out.message.find("out of memory") == std::string::npos) {
            std::fprintf(stderr, "a result was created before the error: %s\n", out.message.c_str());
            __builtin_trap();
        }
        return 0;
    }
    // Accepted: the arguments must have been sound, and the result exact.
    if (count != kArgs || !out.result) __builtin_trap();
    for (const mxArray* a : args)
        if (!realDouble(a) || !matrixShaped(a)) __builtin_trap();
    if (standin::rows(out.result.get()) != mxGetM(args[0]) ||
        standin::cols(out.result.get()) != mxGetN(args[0]))
        __builtin_trap();
    if (!sameBits(standin::values(out.result.get()), expected(args))) {
        std::fprintf(stderr, "result differs from the oracle\n");
        __builtin_trap();
    }
    return 0;
}
