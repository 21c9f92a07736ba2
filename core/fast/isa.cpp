#include "isa.h"

#include <atomic>

// The processor is asked only when the wider kernels are built (GNU cpuid).
#if PLUGINS_FAST_KERNELS && (defined(__x86_64__) || defined(_M_X64))
#define FAST_ASK_PROCESSOR 1
#include <cpuid.h>
#else
#define FAST_ASK_PROCESSOR 0
#endif

namespace fast {

#if FAST_ASK_PROCESSOR
namespace {

// Asked of the processor itself (cpuid) and of the operating system (which
// register state it saves, xgetbv), so that no compiler runtime is needed.
unsigned long long savedRegisterState() {
    unsigned eax, edx;
    __asm__ volatile("xgetbv" : "=a"(eax), "=d"(edx) : "c"(0));
    return (static_cast<unsigned long long>(edx) << 32) | eax;
}

bool hasVectorExtension(unsigned featureBit, unsigned long long stateMask) {
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const bool osSaves = (c >> 27) & 1u;  // OSXSAVE: xgetbv may be asked
    const bool avx = (c >> 28) & 1u;
    if (!osSaves || !avx) return false;
    if ((savedRegisterState() & stateMask) != stateMask) return false;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return (b >> featureBit) & 1u;
}

}  // namespace
#endif

bool supported(Isa isa) {
    switch (isa) {
        case Isa::Reference:
            return true;
        case Isa::Baseline:
            return PLUGINS_FAST_KERNELS != 0;
#if FAST_ASK_PROCESSOR
        case Isa::Avx2:  // leaf 7 EBX bit 5; SSE and AVX state saved
            return hasVectorExtension(5, 0x6);
        case Isa::Avx512:  // leaf 7 EBX bit 16; also the opmask and upper ZMM state
            return hasVectorExtension(16, 0xE6);
#endif
        default:
            return false;
    }
}

namespace {

Isa widestSupported() {
    if (supported(Isa::Avx512)) return Isa::Avx512;
    if (supported(Isa::Avx2)) return Isa::Avx2;
    if (supported(Isa::Baseline)) return Isa::Baseline;
    return Isa::Reference;
}

}  // namespace

Isa best() {
    // The one static in the cores: a fact about the machine, not state kept
    // between calls.  Asking the processor costs several cpuid instructions,
    // and under a hypervisor each one traps, so it is asked once per process.
    // A constant-initialised atomic needs no run-time guard (the macOS
    // plug-ins link no C++ runtime to provide one); threads that race on the
    // first call each ask and store the same answer.
    static std::atomic<int> widest{-1};
    int known = widest.load(std::memory_order_relaxed);
    if (known < 0) {
        known = static_cast<int>(widestSupported());
        widest.store(known, std::memory_order_relaxed);
    }
    return static_cast<Isa>(known);
}

}  // namespace fast
