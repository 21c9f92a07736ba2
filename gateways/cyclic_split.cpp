// Y = cyclic_split(X, F1, F2): separable circular filtering, each output sample
// combining its own input sample and the K - 1 that follow it.
#include "../core/cyclic_split.h"
#include "circular_gateway.h"

PLUGIN_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    circular::gateway("cyclic_split", cyclic_split::filterColumnsANDrows, plhs, nrhs, prhs);
}
