// Peak separate multiply and add throughput, 2 lanes (SSE2 / NEON).
#include "peak.h"
#define PEAK_LANES 2
#define PEAK_CHAINS 12
#include "peak_chains.inc"

namespace peak {

// 12 chains of 2 lanes fit the 16 registers of SSE2 with m and c.
std::int64_t mulAddBaseline(std::int64_t steps, double* sink) { return mulAddChains(steps, sink); }

}  // namespace peak
