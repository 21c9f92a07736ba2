// Multi-level periodic inverse discrete wavelet transform (synthesis), pyramid layout.
#pragma once

#include "fast/isa.h"

namespace wavelet {

// One two-band synthesis step over a periodic line.  With P = K / 2, each band
// buffer holds its n samples from position P - 1 on; the step first fills the
// periodic prefix 0 .. P - 2 (descending), then writes exactly 2n samples:
//   odd  = (odd  + low[i + k] * g0[K - 1 - 2k]) + high[i + k] * g1[K - 1 - 2k]
//   even = (even + low[i + k] * g0[K - 2 - 2k]) + high[i + k] * g1[K - 2 - 2k]
// for k ascending, line[2i] = even and line[2i + 1] = odd.  With K <= 1 there
// is no tap pair and every sample written is +0.0.
void upsampleANDfilter(double* line, int n, int K, const double* g0, const double* g1,
                       double* low, double* high);

// Copies the M x N column-major pyramid `input` into output and rebuilds
// `levels` levels there: columns, then rows, of the growing top-left block.
// Returns false, with output untouched, when scratch memory is missing.
// Runs the fastest kernels this processor has.
//
// Overlap: output may be input itself (the pyramid rebuilt in place, with
// the same result); any other overlap of the two arrays is not allowed.
// Scratch: none when no level rebuilds a sample (levels <= 0, an empty or a
// 1 x 1 starting block) or without a tap pair (K < 2 writes +0.0); otherwise
// at most about one output plus a few lines.
bool idwt(double* output, int M, int N, const double* g0, const double* g1, int K, int levels,
          const double* input);

// The same transform with the kernels of one instruction set; every set gives
// the same bits.  fast::Isa::Reference is the straightforward implementation,
// one line and one product pair at a time, that the others are checked against.
bool idwtUsing(fast::Isa isa, double* output, int M, int N, const double* g0, const double* g1,
               int K, int levels, const double* input);
bool idwtReference(double* output, int M, int N, const double* g0, const double* g1, int K,
                   int levels, const double* input);

}  // namespace wavelet
