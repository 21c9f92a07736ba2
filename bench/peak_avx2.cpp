// Peak separate multiply and add throughput, 4 lanes (compiled with -mavx2).
#include "peak.h"
#define PEAK_LANES 4
#define PEAK_CHAINS 12
#include "peak_chains.inc"

namespace peak {

// 12 chains of 4 lanes fit the 16 ymm registers with m and c.
std::int64_t mulAddAvx2(std::int64_t steps, double* sink) { return mulAddChains(steps, sink); }

}  // namespace peak
