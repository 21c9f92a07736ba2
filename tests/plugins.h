// The gateways as the stand-in host sees them: each plug-in's mexFunction,
// compiled under its own name so that all of them link into one test program.
#pragma once

#include "host/standin/standin.h"

extern "C" {
void wavelet_analysis_entry(int, mxArray*[], int, const mxArray*[]);
void wavelet_synthesis_entry(int, mxArray*[], int, const mxArray*[]);
void cyclic_split_entry(int, mxArray*[], int, const mxArray*[]);
void cyclic_merge_entry(int, mxArray*[], int, const mxArray*[]);
}
