/* Declarations of the host array and plug-in operations, by MATLAB's symbol
 * names, for builds that have no host header of their own.  Only what the
 * gateways call is declared.  Sizes are size_t, as in the host libraries; the
 * matrix constructor and the dimension queries are the 32-bit-dimension forms
 * (the host's names with _700), as the host's own header picks them when
 * built for 32-bit array dimensions. */
#ifndef PLUGIN_MEX_DECL_H
#define PLUGIN_MEX_DECL_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

typedef struct mxArray_tag mxArray;
typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

double* mxGetPr(const mxArray* array);
size_t mxGetM(const mxArray* array);
size_t mxGetN(const mxArray* array);
size_t mxGetNumberOfElements(const mxArray* array);
int mxGetNumberOfDimensions_700(const mxArray* array);
const int* mxGetDimensions_700(const mxArray* array);
bool mxIsDouble(const mxArray* array);
bool mxIsComplex(const mxArray* array);
bool mxIsSparse(const mxArray* array);
mxArray* mxCreateDoubleMatrix_700(int rows, int cols, mxComplexity flag);
void mexErrMsgTxt(const char* message);

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

#ifdef __cplusplus
}
#endif

#define mxCreateDoubleMatrix mxCreateDoubleMatrix_700
#define mxGetNumberOfDimensions mxGetNumberOfDimensions_700
#define mxGetDimensions mxGetDimensions_700

#endif
