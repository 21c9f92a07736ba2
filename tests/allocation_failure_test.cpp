// Every scratch allocation of every plug-in may fail: the call must end with a
// clear host error, create nothing that survives, and release what it took.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failing_allocator.h"
#include "plugins.h"

namespace {

struct PluginCall {
    const char* name;
    standin::Entry entry;
    std::vector<standin::Array> args;
};

std::vector<PluginCall> validCalls() {
    std::vector<PluginCall> calls;
    {
        PluginCall c{"wavelet_analysis", wavelet_analysis_entry, {}};
        c.args.push_back(standin::matrix(8, 8));
        c.args.push_back(standin::row({0.5, 0.5}));
        c.args.push_back(standin::row({0.5, -0.5}));
        c.args.push_back(standin::scalar(2));
        calls.push_back(std::move(c));
    }
    return calls;
}

std::vector<const mxArray*> pointers(const std::vector<standin::Array>& args) {
    std::vector<const mxArray*> p;
    for (const auto& a : args) p.push_back(a.get());
    return p;
}

}  // namespace

TEST(AllocationFailure, EveryScratchRequestMayFail) {
    for (const PluginCall& c : validCalls()) {
        SCOPED_TRACE(c.name);
        failing_allocator::failRequest(-1);
        ASSERT_FALSE(standin::call(c.entry, pointers(c.args)).raised);
        const int requests = failing_allocator::requests();
        ASSERT_GT(requests, 0);
        for (int failing = 0; failing < requests; ++failing) {
            failing_allocator::failRequest(failing);
            const standin::Outcome out = standin::call(c.entry, pointers(c.args));
            EXPECT_TRUE(out.raised) << "request " << failing;
            EXPECT_EQ(out.message, std::string(c.name) + ": out of memory for the scratch buffers");
            EXPECT_EQ(out.result, nullptr);
            EXPECT_EQ(failing_allocator::live(), 0);
        }
    }
    failing_allocator::failRequest(-1);
}
