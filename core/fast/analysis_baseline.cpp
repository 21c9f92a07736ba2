// Analysis kernels with 2 lanes.
#define FAST_ISA baseline
#define FAST_LANES 2
#include "analysis_kernels.inc"
