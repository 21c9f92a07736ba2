// Separable circular convolution with the wrap prepended before each line:
// every output sample combines the sample at its own position and the K - 1
// samples that precede it, circularly.
#pragma once

#include "fast/isa.h"

namespace cyclic_merge {

// One periodic line.  `scratch` holds the n samples in slots K-1 .. K+n-2 (from
// slot 0 when K < 1); slots 0 .. K-2 receive the wrap, filled from the top down
// so that slot i holds the sample of slot i + n, even when K - 1 > n.
// result[j] = sum over m = 0 .. K-1, ascending, of taps[K - 1 - m] * scratch[j + m],
// from +0.0: the circular convolution of the line with the taps.  With K <= 0
// every result is +0.0.
void conv(double* scratch, int n, const double* taps, int K, double* result);

// Copies the rows x cols column-major input into output, convolves every column
// with columnTaps (when rows > 1), then every row with rowTaps (when cols > 1).
// A pass that does not run never reads its taps.  Returns false, with output
// untouched, when scratch memory is missing.  Output may be input itself (the
// very same array), with every instruction set; arrays that overlap only in
// part are not allowed.
bool filterColumnsANDrows(const double* input, double* output, int rows, int cols,
                          const double* columnTaps, const double* rowTaps, int K);


// The same filtering with the kernels of one instruction set; every set gives
// the same bits.  fast::Isa::Reference is the straightforward implementation,
// one line at a time through conv, that the others are checked against.
bool filterColumnsANDrowsUsing(fast::Isa isa, const double* input, double* output, int rows,
                               int cols, const double* columnTaps, const double* rowTaps, int K);

}  // namespace cyclic_merge
