// Synthesis kernels with 4 lanes.
#define FAST_ISA avx2
#define FAST_LANES 4
#include "synthesis_kernels.inc"
