// The host operations of the Octave-native build: each plug-in is an Octave
// function (<name>.oct, a DEFUN_DLD) that hands its arguments to the same
// gateway as the MEX builds.  An argument or a result is a PluginArray, the
// adapter's own type around Octave's double arrays; a result is created
// without zero-fill (every gateway's core writes every sample of it), and a
// gateway error unwinds to the Octave function, which raises it as Octave's
// MEX interface would: "<name>: <message>".
#pragma once

#include <cstddef>

namespace octave_native {
class PluginArray;
enum Complexity { REAL = 0, COMPLEX = 1 };
}

double* mxGetPr(const octave_native::PluginArray* array);
std::size_t mxGetM(const octave_native::PluginArray* array);
std::size_t mxGetN(const octave_native::PluginArray* array);
std::size_t mxGetNumberOfElements(const octave_native::PluginArray* array);
std::size_t mxGetNumberOfDimensions(const octave_native::PluginArray* array);
const std::size_t* mxGetDimensions(const octave_native::PluginArray* array);
bool mxIsDouble(const octave_native::PluginArray* array);
bool mxIsComplex(const octave_native::PluginArray* array);
bool mxIsSparse(const octave_native::PluginArray* array);
// Real only: the gateways create nothing else.
octave_native::PluginArray* mxCreateDoubleMatrix(std::size_t rows, std::size_t cols,
                                                 octave_native::Complexity flag);
[[noreturn]] void mexErrMsgTxt(const char* message);

// The adapter's own sources see Octave's headers, which declare a different
// mxArray and mxComplexity; the gateways see these.
#if !defined(OCTAVE_NATIVE_ADAPTER)
using mxArray = octave_native::PluginArray;
using mxComplexity = octave_native::Complexity;
constexpr mxComplexity mxREAL = octave_native::REAL;
constexpr mxComplexity mxCOMPLEX = octave_native::COMPLEX;
#endif

// Defined by the gateway; hidden: the .oct exports only Octave's installer.
extern "C" void mexFunction(int nlhs, octave_native::PluginArray* plhs[], int nrhs,
                            const octave_native::PluginArray* prhs[]);

#define PLUGIN_EXPORT extern "C"
