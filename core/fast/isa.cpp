#include "isa.h"

namespace fast {

bool supported(Isa isa) {
    switch (isa) {
        case Isa::Reference:
        case Isa::Baseline:
            return true;
#if defined(__x86_64__) || defined(_M_X64)
        case Isa::Avx2:
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2");
        case Isa::Avx512:
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx512f");
#endif
        default:
            return false;
    }
}

Isa best() {
    if (supported(Isa::Avx512)) return Isa::Avx512;
    if (supported(Isa::Avx2)) return Isa::Avx2;
    return Isa::Baseline;
}

}  // namespace fast
