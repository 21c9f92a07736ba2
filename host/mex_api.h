// The host operations the gateways use, and every difference between hosts.
//
// GNU Octave ships its own mex.h; the build passes PLUGIN_HOST_OCTAVE and
// Octave's include path.  The Octave-native build (.oct files) passes
// PLUGIN_HOST_OCTAVE_NATIVE and uses its own adapter, octave_native.h.
// Everywhere else (MATLAB builds, the stand-in host of the tests, cross
// builds) the declarations come from mex_decl.h, which uses MATLAB's
// exported symbol names.
#pragma once

#if defined(PLUGIN_HOST_OCTAVE_NATIVE)
#include "octave_native.h"
// The adapter raises every message as "name: message", as Octave's MEX does.
#define HOST_NAMES_PLUGIN_IN_ERRORS 1
#elif defined(PLUGIN_HOST_OCTAVE)
#include <mex.h>
// Octave puts "name: " in front of every message a plug-in raises.
#define HOST_NAMES_PLUGIN_IN_ERRORS 1
#else
#include "mex_decl.h"
#define HOST_NAMES_PLUGIN_IN_ERRORS 0
#endif

#if defined(PLUGIN_EXPORT)
// The host's header chose it.
#elif defined(_WIN32)
#define PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif
