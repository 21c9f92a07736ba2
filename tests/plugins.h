// The gateways as the stand-in host sees them: each plug-in's mexFunction,
// compiled under its own name <name>_entry so that all of them link into one
// test program.  The list is plugins.txt's (plugin_list.h, written by CMake).
#pragma once

#include "plugin_list.h"
#include "tests/host/standin/standin.h"

#define PLUGINS_DECLARE_ENTRY(name) void name##_entry(int, mxArray*[], int, const mxArray*[]);
extern "C" {
PLUGIN_LIST(PLUGINS_DECLARE_ENTRY)
}
#undef PLUGINS_DECLARE_ENTRY
