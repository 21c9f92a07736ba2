// Circular kernels with 4 lanes.
#define FAST_ISA avx2
#define FAST_LANES 4
#include "circular_kernels.inc"
