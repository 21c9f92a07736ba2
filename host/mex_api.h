// The host operations the gateways use, and every difference between hosts.
//
// GNU Octave ships its own mex.h; the build passes PLUGIN_HOST_OCTAVE and
// Octave's include path.  Everywhere else (MATLAB builds, the stand-in host of
// the tests, cross builds) the declarations come from mex_decl.h, which uses
// MATLAB's exported symbol names.
#pragma once

#if defined(PLUGIN_HOST_OCTAVE)
#include <mex.h>
// Octave puts "name: " in front of every message a plug-in raises.
#define HOST_NAMES_PLUGIN_IN_ERRORS 1
#else
#include "mex_decl.h"
#define HOST_NAMES_PLUGIN_IN_ERRORS 0
#endif

#if defined(_WIN32)
#define PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif
