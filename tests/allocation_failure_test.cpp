// Every scratch allocation of every plug-in may fail: the call must end with a
// clear host error, create nothing that survives, and release what it took.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "core/fast/isa.h"
#include "core/idwt.h"
#include "failing_allocator.h"
#include "plugins.h"

namespace {

struct PluginCall {
    const char* name;
    standin::Entry entry;
    std::vector<standin::Array> args;
};

// Filters of K taps, 0.5 then +-1/K.
standin::Array filter(int K, double first) {
    std::vector<double> taps(static_cast<std::size_t>(K), 1.0 / K);
    taps[0] = first;
    return standin::row(taps);
}

// A valid call of each plug-in with K-tap filters: K = 2 takes the fast
// kernels, K > fast::kMaxTaps the reference cores (which a build without the
// kernels takes for every K).
std::vector<PluginCall> validCalls(int K) {
    std::vector<PluginCall> calls;
    for (auto plugin : {std::make_pair("wavelet_analysis", wavelet_analysis_entry),
                        std::make_pair("wavelet_synthesis", wavelet_synthesis_entry)}) {
        // A matrix, and a row long enough for the one-pass signal kernels.
        for (const auto& [rows, cols] : {std::make_pair(8, 8), std::make_pair(1, 256)}) {
            PluginCall c{plugin.first, plugin.second, {}};
            c.args.push_back(standin::matrix(rows, cols, std::vector<double>(rows * cols, 1.0)));
            c.args.push_back(filter(K, 0.5));
            c.args.push_back(filter(K, -0.5));
            c.args.push_back(standin::scalar(2));
            calls.push_back(std::move(c));
        }
    }
    for (auto plugin : {std::make_pair("cyclic_split", cyclic_split_entry),
                        std::make_pair("cyclic_merge", cyclic_merge_entry)}) {
        PluginCall c{plugin.first, plugin.second, {}};
        c.args.push_back(standin::matrix(3, 4, std::vector<double>(12, 1.0)));  // both passes run
        c.args.push_back(filter(K, 0.5));
        c.args.push_back(filter(K, -0.5));
        calls.push_back(std::move(c));
    }
    return calls;
}

std::vector<const mxArray*> pointers(const std::vector<standin::Array>& args) {
    std::vector<const mxArray*> p;
    for (const auto& a : args) p.push_back(a.get());
    return p;
}

// How many scratch requests a successful call makes.
template <typename Call>
int requestsOf(Call call) {
    failing_allocator::failRequest(-1);
    EXPECT_TRUE(call());
    EXPECT_GT(failing_allocator::requests(), 0);
    return failing_allocator::requests();
}

}  // namespace

TEST(AllocationFailure, EveryScratchRequestMayFail) {
    for (const int K : {2, fast::kMaxTaps + 2}) {
        for (const PluginCall& c : validCalls(K)) {
            SCOPED_TRACE(std::string(c.name) + ", K = " + std::to_string(K));
            failing_allocator::failRequest(-1);
            ASSERT_FALSE(standin::call(c.entry, pointers(c.args)).raised);
            const int requests = failing_allocator::requests();
            ASSERT_GT(requests, 0);
            for (int failing = 0; failing < requests; ++failing) {
                failing_allocator::failRequest(failing);
                const standin::Outcome out = standin::call(c.entry, pointers(c.args));
                EXPECT_TRUE(out.raised) << "request " << failing;
                EXPECT_EQ(out.message,
                          std::string(c.name) + ": out of memory for the scratch buffers");
                EXPECT_EQ(out.result, nullptr);
                EXPECT_EQ(failing_allocator::live(), 0);
            }
        }
    }
    failing_allocator::failRequest(-1);
}

// The circular cores take the scratch of both passes before writing anything.
TEST(AllocationFailure, CircularCoresLeaveTheOutputUntouched) {
    using Filter = bool (*)(const double*, double*, int, int, const double*, const double*, int);
    const double x[6] = {1, 2, 3, 4, 5, 6};
    const double taps[2] = {0.5, 0.5};
    for (Filter f : {cyclic_split::filterColumnsANDrows, cyclic_merge::filterColumnsANDrows}) {
        const int requests = requestsOf([&] {
            double y[6];
            return f(x, y, 2, 3, taps, taps, 2);
        });
        for (int failing = 0; failing < requests; ++failing) {
            failing_allocator::failRequest(failing);
            double y[6] = {-1, -1, -1, -1, -1, -1};
            EXPECT_FALSE(f(x, y, 2, 3, taps, taps, 2)) << "request " << failing;
            for (double v : y) EXPECT_EQ(v, -1.0) << "request " << failing;
            EXPECT_EQ(failing_allocator::live(), 0);
        }
    }
    failing_allocator::failRequest(-1);
}

// The synthesis core takes its buffers before it copies anything.
TEST(AllocationFailure, SynthesisCoreLeavesTheOutputUntouched) {
    const double y[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const double g0[2] = {0.5, 0.5}, g1[2] = {-0.5, 0.5};
    const int requests = requestsOf([&] {
        double x[8];
        return wavelet::idwt(x, 2, 4, g0, g1, 2, 1, y);
    });
    for (int failing = 0; failing < requests; ++failing) {
        failing_allocator::failRequest(failing);
        double x[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        EXPECT_FALSE(wavelet::idwt(x, 2, 4, g0, g1, 2, 1, y)) << "request " << failing;
        for (double v : x) EXPECT_EQ(v, -1.0) << "request " << failing;
        EXPECT_EQ(failing_allocator::live(), 0);
    }
    failing_allocator::failRequest(-1);
}
