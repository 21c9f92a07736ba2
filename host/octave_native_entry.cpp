// The Octave function of one plug-in, compiled once per plug-in with
// PLUGIN_NAME set to its name: Octave loads <name>.oct through the installer
// that DEFUN_DLD defines (G<name>, the file's only exported symbol).  Octave
// takes the help of a .oct from the binary: plugin_help.h, written by the
// build from the plug-in's help file, defines it as kPluginHelp.
#include <octave/oct.h>

#include "octave_native_call.h"
#include "plugin_help.h"

#if !defined(PLUGIN_NAME)
#error "PLUGIN_NAME must name the plug-in"
#endif

#define PLUGIN_TEXT(name) #name
#define PLUGIN_NAME_TEXT(name) PLUGIN_TEXT(name)

// Octave's headers mark the installer for export only when Octave itself
// was built with visibility flags; the build hides everything else, and the
// link keeps only G<name> among these.
#pragma GCC visibility push(default)
DEFUN_DLD(PLUGIN_NAME, args, nargout, kPluginHelp) {
    return octave_native::call(PLUGIN_NAME_TEXT(PLUGIN_NAME), args, nargout);
}
#pragma GCC visibility pop
