// The entry point shared by the two separable circular filters:
// Y = name(X, F1, F2) filters a copy of X down its columns with F1, then along
// its rows with F2.  Both filters have K taps, K being F1's column count; F2's
// shape is never read and its values beyond the K-th are ignored.
#pragma once

#include <cstdint>

#include "../core/sizes.h"
#include "checks.h"

namespace circular {

// A core's filterColumnsANDrows: false when its scratch memory is missing.
using Core = bool (*)(const double* input, double* output, int rows, int cols,
                      const double* columnTaps, const double* rowTaps, int K);

enum { IN_X, IN_F1, IN_F2, NUM_INPUTS };
enum { OUT_Y };

// Holds nothing with a destructor: every check may leave through the host's
// error operation.
inline void gateway(const char* plugin, Core core, mxArray* plhs[], int nrhs,
                    const mxArray* prhs[]) {
    checks::requireArgumentCount(nrhs, NUM_INPUTS, "There must be 3 input parameters!");

    checks::requireRealDouble(plugin, "X", prhs[IN_X]);
    checks::requireRealDouble(plugin, "F1", prhs[IN_F1]);
    checks::requireRealDouble(plugin, "F2", prhs[IN_F2]);
    checks::requireMatrix(plugin, "X", prhs[IN_X]);
    checks::requireMatrix(plugin, "F1", prhs[IN_F1]);
    checks::requireMatrix(plugin, "F2", prhs[IN_F2]);

    const double* x = mxGetPr(prhs[IN_X]);
    const double* f1 = mxGetPr(prhs[IN_F1]);
    const double* f2 = mxGetPr(prhs[IN_F2]);
    const std::uint64_t M = mxGetM(prhs[IN_X]);
    const std::uint64_t N = mxGetN(prhs[IN_X]);
    const std::uint64_t K = mxGetN(prhs[IN_F1]);

    // A pass filters lines only when its lines are longer than one sample and
    // there is at least one of them; a filter that no pass reads is not checked.
    const bool columnPass = M > 1 && N >= 1;
    const bool rowPass = N > 1 && M >= 1;
    if ((columnPass || rowPass) && K == 0)
        checks::fail(plugin, "argument F1 must hold at least one column of filter taps");
    if (columnPass)
        checks::requireValues(plugin, "F1", prhs[IN_F1], K, "a filter tap for each of its columns");
    if (rowPass)
        checks::requireValues(plugin, "F2", prhs[IN_F2], K,
                              "at least as many filter taps as F1 has columns");

    checks::requireInt32(plugin, "X", M);
    checks::requireInt32(plugin, "X", N);
    checks::requireInt32(plugin, "X", M * N);
    checks::requireInt32(plugin, "F1", K);
    const std::int64_t rows = static_cast<std::int64_t>(M), cols = static_cast<std::int64_t>(N);
    const std::int64_t taps = static_cast<std::int64_t>(K);
    checks::requireLineInt32(plugin, "X", rows, "F1", sizes::circularLineLength(rows, taps) - rows);
    checks::requireLineInt32(plugin, "X", cols, "F1", sizes::circularLineLength(cols, taps) - cols);

    plhs[OUT_Y] = mxCreateDoubleMatrix(static_cast<int>(M), static_cast<int>(N), mxREAL);
    if (!core(x, mxGetPr(plhs[OUT_Y]), static_cast<int>(M), static_cast<int>(N), f1, f2,
              static_cast<int>(K)))
        checks::fail(plugin, "out of memory for the scratch buffers");
}

}  // namespace circular
