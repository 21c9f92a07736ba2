// The cores keep no state: two threads running the same core at once on
// different data get exactly what sequential calls get.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "core/dwt.h"
#include "core/idwt.h"
#include "test_support.h"

namespace {

struct Job {
    std::vector<double> x, f0, f1, out;
    int M, N, K, levels;
};

Job makeJob(std::mt19937_64& rng, int M, int N, int K, int levels) {
    Job j{support::randomValues(rng, static_cast<std::size_t>(M) * N),
          support::randomValues(rng, K), support::randomValues(rng, K),
          std::vector<double>(static_cast<std::size_t>(M) * N), M, N, K, levels};
    return j;
}

using Core = std::function<bool(Job&)>;

void expectThreadedEqualsSequential(const Core& core) {
    std::mt19937_64 rng(7);
    Job a = makeJob(rng, 128, 64, 8, 3), b = makeJob(rng, 64, 256, 6, 4);
    Job seqA = a, seqB = b;
    ASSERT_TRUE(core(seqA));
    ASSERT_TRUE(core(seqB));
    // Many rounds so that the two calls really overlap.
    for (int round = 0; round < 20; ++round) {
        bool okA = false, okB = false;
        std::thread ta([&] { okA = core(a); });
        std::thread tb([&] { okB = core(b); });
        ta.join();
        tb.join();
        ASSERT_TRUE(okA && okB);
        ASSERT_TRUE(support::sameBits(a.out, seqA.out));
        ASSERT_TRUE(support::sameBits(b.out, seqB.out));
    }
}

}  // namespace

TEST(Reentrancy, EveryCoreGivesSequentialResultsFromTwoThreads) {
    expectThreadedEqualsSequential([](Job& j) {
        return wavelet::dwt(j.x.data(), j.M, j.N, j.f0.data(), j.f1.data(), j.K, j.levels,
                            j.out.data());
    });
    expectThreadedEqualsSequential([](Job& j) {
        return wavelet::idwt(j.out.data(), j.M, j.N, j.f0.data(), j.f1.data(), j.K, j.levels,
                             j.x.data());
    });
    expectThreadedEqualsSequential([](Job& j) {
        return cyclic_split::filterColumnsANDrows(j.x.data(), j.out.data(), j.M, j.N, j.f0.data(),
                                                  j.f1.data(), j.K);
    });
    expectThreadedEqualsSequential([](Job& j) {
        return cyclic_merge::filterColumnsANDrows(j.x.data(), j.out.data(), j.M, j.N,
                                                   j.f0.data(), j.f1.data(), j.K);
    });
}
