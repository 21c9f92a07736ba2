// Analysis kernels with 8 lanes.
#define FAST_ISA avx512
#define FAST_LANES 8
#include "analysis_kernels.inc"
