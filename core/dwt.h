// Multi-level periodic discrete wavelet transform (analysis), pyramid layout.
#pragma once

#include "fast/isa.h"

namespace wavelet {

// One two-band analysis step over a periodic line.  `line` holds n samples and
// room for p more, which receive the periodic extension; low and high receive
// ceil(n/2) values each: low[k] = sum_j line[2k + j] * h0[p - j], j ascending.
void filterANDdownsample(double* line, int n, const double* h0, const double* h1, int p,
                         double* low, double* high);

// Copies the M x N column-major input into output and runs `levels` levels of
// the separable transform there: rows, then columns, of the shrinking top-left
// block.  Returns false, with output untouched, when scratch memory is missing.
// Runs the fastest kernels this processor has.
//
// Overlap: output may be the input itself (the same array; the result is then
// the same as out of place), but it must not overlap the input in any other
// way.  Scratch is taken only for the path the call takes: none when it only
// copies (no levels, or a 1 x 1 matrix), at most about one output otherwise.
bool dwt(const double* input, int M, int N, const double* h0, const double* h1, int K,
         int levels, double* output);

// The same transform with the kernels of one instruction set; every set gives
// the same bits.  fast::Isa::Reference is the straightforward implementation,
// one line and one product at a time, that the others are checked against.
bool dwtUsing(fast::Isa isa, const double* input, int M, int N, const double* h0,
              const double* h1, int K, int levels, double* output);
bool dwtReference(const double* input, int M, int N, const double* h0, const double* h1, int K,
                  int levels, double* output);

}  // namespace wavelet
