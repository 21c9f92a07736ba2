// Picks the kernel set of an instruction set (only for the cores' drivers,
// which are compiled for the baseline).
#pragma once

#include "isa.h"
#include "kernels.h"

namespace fast {

#if PLUGINS_FAST_KERNELS

#if defined(__x86_64__) || defined(_M_X64)
#define FAST_SELECT(isa, kind)                                        \
    ((isa) == Isa::Avx512 ? avx512::kind()                            \
     : (isa) == Isa::Avx2 ? avx2::kind()                              \
                          : baseline::kind())
#else
#define FAST_SELECT(isa, kind) ((void)(isa), baseline::kind())
#endif

inline AnalysisKernels analysisKernels(Isa isa) { return FAST_SELECT(isa, analysisKernels); }
inline SynthesisKernels synthesisKernels(Isa isa) { return FAST_SELECT(isa, synthesisKernels); }
inline CircularKernels circularKernels(Isa isa) { return FAST_SELECT(isa, circularKernels); }

#undef FAST_SELECT

// Whether the kernels take a call with K taps, or the reference does.
inline bool takes(Isa isa, int K) { return isa != Isa::Reference && K >= 1 && K <= kMaxTaps; }

#else  // built without the kernels

// The reference takes every call, so the drivers never open these empty tables.
inline AnalysisKernels analysisKernels(Isa) { return {}; }
inline SynthesisKernels synthesisKernels(Isa) { return {}; }
inline CircularKernels circularKernels(Isa) { return {}; }
inline bool takes(Isa, int) { return false; }

#endif

}  // namespace fast
