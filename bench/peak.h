// The machine's peak throughput of separate multiplies and adds (no fused
// multiply-add), the unit of the arithmetic floor the cores are held to.
// One translation unit per instruction set, each compiled for its own set,
// picked at run time like the cores' kernels.
#pragma once

#include <cstdint>

namespace peak {

// Runs `steps` rounds of many independent chains x = x * m + c, each on a full
// vector, and returns the floating-point operations done (one multiply and one
// add per lane and step).  *sink receives a checksum so nothing is dropped.
using MulAddLoop = std::int64_t (*)(std::int64_t steps, double* sink);

std::int64_t mulAddBaseline(std::int64_t steps, double* sink);
#if defined(__x86_64__) || defined(_M_X64)
std::int64_t mulAddAvx2(std::int64_t steps, double* sink);
std::int64_t mulAddAvx512(std::int64_t steps, double* sink);
#endif

}  // namespace peak
