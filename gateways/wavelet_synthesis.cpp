// X = wavelet_synthesis(Y, G0, G1, L): multi-level periodic wavelet synthesis.
#include <cstdint>

#include "../core/idwt.h"
#include "../core/sizes.h"
#include "checks.h"

namespace {

enum { IN_Y, IN_G0, IN_G1, IN_LEVEL, NUM_INPUTS };
enum { OUT_X };

const char* const kPlugin = "wavelet_synthesis";

}  // namespace

PLUGIN_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    checks::requireArgumentCount(nrhs, NUM_INPUTS, "There should be 4 input parameters!");

    checks::requireRealDouble(kPlugin, "Y", prhs[IN_Y]);
    checks::requireRealDouble(kPlugin, "G0", prhs[IN_G0]);
    checks::requireRealDouble(kPlugin, "G1", prhs[IN_G1]);
    checks::requireRealDouble(kPlugin, "L", prhs[IN_LEVEL]);
    checks::requireMatrix(kPlugin, "Y", prhs[IN_Y]);
    checks::requireMatrix(kPlugin, "G0", prhs[IN_G0]);
    checks::requireMatrix(kPlugin, "G1", prhs[IN_G1]);
    checks::requireMatrix(kPlugin, "L", prhs[IN_LEVEL]);
    checks::requireValues(kPlugin, "L", prhs[IN_LEVEL], 1, "the number of levels");

    const double* y = mxGetPr(prhs[IN_Y]);
    const std::uint64_t N = mxGetN(prhs[IN_Y]);
    const std::uint64_t M = mxGetM(prhs[IN_Y]);
    const double* g0 = mxGetPr(prhs[IN_G0]);
    const double* g1 = mxGetPr(prhs[IN_G1]);
    // Truncated toward zero and deliberately not sign-checked: 0, negative
    // and NaN levels, and 2^L infinite (L >= 1024), all give a copy of Y.
    const int levels = checks::levelCount(mxGetPr(prhs[IN_LEVEL])[0]);
    const std::uint64_t g0Cols = mxGetN(prhs[IN_G0]);
    const std::uint64_t g0Rows = mxGetM(prhs[IN_G0]);
    const std::uint64_t taps = g0Cols > g0Rows ? mxGetN(prhs[IN_G0]) : mxGetM(prhs[IN_G0]);

    // The core needs a tap pair (K >= 2) and K values in each filter; G1's
    // shape is free, only its value count matters.  A 0 x 5 G0 has K = 5 and
    // no taps at all.
    if (taps < 2) checks::fail(kPlugin, "argument G0 must hold at least two filter taps");
    checks::requireValues(kPlugin, "G0", prhs[IN_G0], taps, "at least two filter taps");
    checks::requireValues(kPlugin, "G1", prhs[IN_G1], taps,
                          "at least as many filter taps as G0");

    if (!checks::divisibleByPowerOfTwo(M, levels))
        mexErrMsgTxt("The matrix row dimension must be divisible by 2^L");
    if (!checks::divisibleByPowerOfTwo(N, levels))
        mexErrMsgTxt("The matrix column dimension must be divisible by 2^L");

    checks::requireInt32(kPlugin, "Y", M);
    checks::requireInt32(kPlugin, "Y", N);
    checks::requireInt32(kPlugin, "Y", M * N);
    checks::requireInt32(kPlugin, "G0", taps);
    const std::int64_t line = sizes::larger(static_cast<std::int64_t>(M), static_cast<std::int64_t>(N));
    checks::requireLineInt32(kPlugin, "Y", line, "G0",
                             sizes::idwtBandLength(static_cast<std::int64_t>(M),
                                                   static_cast<std::int64_t>(N),
                                                   static_cast<std::int64_t>(taps)) - line);

    plhs[OUT_X] = mxCreateDoubleMatrix(static_cast<int>(M), static_cast<int>(N), mxREAL);
    if (!wavelet::idwt(mxGetPr(plhs[OUT_X]), static_cast<int>(M), static_cast<int>(N), g0, g1,
                       static_cast<int>(taps), levels, y))
        checks::fail(kPlugin, "out of memory for the scratch buffers");
}
