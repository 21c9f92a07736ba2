// Checks shared by the gateway tests: how a refused call must look, and the
// arguments every gateway must refuse in every position.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/standin/standin.h"

namespace gateway_support {

// Refused with exactly `message`, before any result existed.
inline void expectMessage(const standin::Outcome& out, const std::string& message) {
    EXPECT_TRUE(out.raised);
    EXPECT_EQ(out.message, message);
    EXPECT_EQ(out.created, 0) << "a result was created before the check failed";
    EXPECT_EQ(out.result, nullptr);
}

// Arrays that hold no real doubles: every other class, complex and sparse.
inline std::vector<standin::Array> nonRealDoubles() {
    using standin::Kind;
    std::vector<standin::Array> bad;
    for (Kind k : {Kind::Single, Kind::Int8, Kind::Uint8, Kind::Int16, Kind::Uint16, Kind::Int32,
                   Kind::Uint32, Kind::Int64, Kind::Uint64, Kind::Logical, Kind::Char,
                   Kind::Cell, Kind::Struct})
        bad.push_back(standin::ofKind(k, 1, 2));
    bad.push_back(standin::complexMatrix(1, 2));
    bad.push_back(standin::sparseMatrix(1, 2));
    return bad;
}

// Puts each such array in each argument position of an otherwise valid call
// (made by `arguments`) and expects "<plugin>: argument <name> must be ...".
inline void expectEveryPositionRefusesNonRealDoubles(
    standin::Entry entry, const std::string& plugin, const std::vector<std::string>& names,
    const std::function<std::vector<standin::Array>()>& arguments) {
    for (std::size_t position = 0; position < names.size(); ++position) {
        for (const standin::Array& bad : nonRealDoubles()) {
            const std::vector<standin::Array> args = arguments();
            std::vector<const mxArray*> pointers;
            for (const standin::Array& a : args) pointers.push_back(a.get());
            pointers[position] = bad.get();
            expectMessage(standin::call(entry, pointers),
                          plugin + ": argument " + names[position] +
                              " must be a real, non-sparse double array");
        }
    }
}

// A valid call of either wavelet plug-in: a 4 x 4 matrix, a two-tap pair of
// filters and one level.
inline std::vector<standin::Array> validWaveletCall() {
    std::vector<standin::Array> args;
    args.push_back(standin::matrix(4, 4));
    args.push_back(standin::row({1, 1}));
    args.push_back(standin::row({1, -1}));
    args.push_back(standin::scalar(1));
    return args;
}

}  // namespace gateway_support
