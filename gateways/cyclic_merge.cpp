// Y = cyclic_merge(X, F1, F2): separable circular convolution, each output
// sample combining its own input sample and the K - 1 that precede it.
#include "../core/cyclic_merge.h"
#include "circular_gateway.h"

PLUGIN_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    circular::gateway("cyclic_merge", cyclic_merge::filterColumnsANDrows, plhs, nrhs, prhs);
}
