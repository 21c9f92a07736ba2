// Peak separate multiply and add throughput, 8 lanes (compiled with -mavx512f).
#include "peak.h"
#define PEAK_LANES 8
#define PEAK_CHAINS 24
#include "peak_chains.inc"

namespace peak {

// 24 chains of 8 lanes fit the 32 zmm registers with m and c, enough to cover
// the multiply and add latencies on two multiply and two add units.
std::int64_t mulAddAvx512(std::int64_t steps, double* sink) { return mulAddChains(steps, sink); }

}  // namespace peak
