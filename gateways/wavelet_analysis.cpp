// Y = wavelet_analysis(X, H0, H1, L): multi-level periodic wavelet analysis.
#include <cstdint>

#include "../core/dwt.h"
#include "../core/sizes.h"
#include "checks.h"

namespace {

enum { IN_X, IN_H0, IN_H1, IN_LEVEL, NUM_INPUTS };
enum { OUT_Y };

const char* const kPlugin = "wavelet_analysis";

// Level counts too large for the size (2^L beyond the dimension, including an
// infinite 2^L from 1024 on) fail the dimension test like any other.
bool dimensionAllows(std::uint64_t dimension, int levels) {
    if (dimension <= 1) return true;
    return levels < 1024 && checks::divisibleByPowerOfTwo(dimension, levels);
}

}  // namespace

PLUGIN_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    checks::requireArgumentCount(nrhs, NUM_INPUTS, "There must be 4 input parameters!");

    checks::requireRealDouble(kPlugin, "X", prhs[IN_X]);
    checks::requireRealDouble(kPlugin, "H0", prhs[IN_H0]);
    checks::requireRealDouble(kPlugin, "H1", prhs[IN_H1]);
    checks::requireRealDouble(kPlugin, "L", prhs[IN_LEVEL]);
    checks::requireMatrix(kPlugin, "X", prhs[IN_X]);
    checks::requireMatrix(kPlugin, "H0", prhs[IN_H0]);
    checks::requireMatrix(kPlugin, "H1", prhs[IN_H1]);
    checks::requireMatrix(kPlugin, "L", prhs[IN_LEVEL]);
    checks::requireValues(kPlugin, "L", prhs[IN_LEVEL], 1, "the number of levels");

    const double* x = mxGetPr(prhs[IN_X]);
    const std::uint64_t N = mxGetN(prhs[IN_X]);
    const std::uint64_t M = mxGetM(prhs[IN_X]);
    const double* h0 = mxGetPr(prhs[IN_H0]);
    const double* h1 = mxGetPr(prhs[IN_H1]);
    const int levels = checks::levelCount(mxGetPr(prhs[IN_LEVEL])[0]);
    const std::uint64_t h0Cols = mxGetN(prhs[IN_H0]);
    const std::uint64_t h0Rows = mxGetM(prhs[IN_H0]);
    const std::uint64_t h1Cols = mxGetN(prhs[IN_H1]);
    const std::uint64_t h1Rows = mxGetM(prhs[IN_H1]);

    if (h0Cols != h1Cols || h0Rows != h1Rows)
        mexErrMsgTxt("The size of the analyis filters are not consistent!");
    const std::uint64_t taps = h0Rows > h0Cols ? h0Rows : h0Cols;
    checks::requireValues(kPlugin, "H0", prhs[IN_H0], 1, "at least one filter tap");
    if (levels < 0)
        mexErrMsgTxt("The number of decomposition levels must be a non-negative integer!");
    if (!dimensionAllows(M, levels))
        mexErrMsgTxt("The matrix row dimension must be of size m*2^L");
    if (!dimensionAllows(N, levels))
        mexErrMsgTxt("The matrix column dimension must be of size n*2^L");

    checks::requireInt32(kPlugin, "X", M);
    checks::requireInt32(kPlugin, "X", N);
    checks::requireInt32(kPlugin, "X", M * N);
    checks::requireInt32(kPlugin, "H0", taps);
    const std::int64_t line = sizes::larger(static_cast<std::int64_t>(M), static_cast<std::int64_t>(N));
    checks::requireLineInt32(kPlugin, "X", line, "H0",
                             sizes::dwtLineLength(static_cast<std::int64_t>(M),
                                                  static_cast<std::int64_t>(N),
                                                  static_cast<std::int64_t>(taps)) - line);

    plhs[OUT_Y] = mxCreateDoubleMatrix(static_cast<int>(M), static_cast<int>(N), mxREAL);
    if (!wavelet::dwt(x, static_cast<int>(M), static_cast<int>(N), h0, h1, static_cast<int>(taps),
                      levels, mxGetPr(plhs[OUT_Y])))
        checks::fail(kPlugin, "out of memory for the scratch buffers");
}
