// The instruction-set detection against an independent source, the compiler
// runtime's own: a detection that wrongly dropped a set would leave its
// kernels unused, and untested by the kernel tests, without anything failing.
#include <gtest/gtest.h>

#include "core/fast/isa.h"

using fast::Isa;

TEST(InstructionSets, DetectionAgreesWithTheCompilerRuntime) {
#if PLUGINS_FAST_KERNELS && defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    const bool avx2 = __builtin_cpu_supports("avx2");
    const bool avx512 = __builtin_cpu_supports("avx512f");
    EXPECT_EQ(fast::supported(Isa::Avx2), avx2);
    EXPECT_EQ(fast::supported(Isa::Avx512), avx512);
    const Isa widest = avx512 ? Isa::Avx512 : avx2 ? Isa::Avx2 : Isa::Baseline;
    EXPECT_EQ(static_cast<int>(fast::best()), static_cast<int>(widest));
#else
    GTEST_SKIP() << "needs the fast kernels, x86-64 and the GCC/Clang runtime's __builtin_cpu_supports";
#endif
}
