// Y = noop_plugin(X, ...): the host's own floor for a plug-in call.  Takes the
// arguments like the real plug-ins, computes nothing and returns a new matrix
// of X's size (zero-filled by the host), so that timing it measures only the
// call itself, the creation of the result and its trip back to the caller.
#include "host/mex_api.h"

PLUGIN_EXPORT void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    if (nrhs < 1) mexErrMsgTxt("noop_plugin needs at least one argument");
    plhs[0] = mxCreateDoubleMatrix(static_cast<int>(mxGetM(prhs[0])),
                                   static_cast<int>(mxGetN(prhs[0])), mxREAL);
}
