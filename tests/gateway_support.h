// Checks shared by the gateway tests: how a refused call must look, and the
// arguments every gateway must refuse in every position.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/host/standin/standin.h"
#include "test_support.h"

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

// Puts arrays of more than two dimensions, zero-size pages included, in each
// argument position of a valid call (made by `arguments`) and expects
// "<plugin>: argument <name> must be a vector or a matrix (<size> given)",
// also when a later argument is N-D too, and after every class check; a valid
// argument with trailing dimensions of 1 is still a matrix and gives the same result.
inline void expectEveryPositionRefusesArraysOfMoreThanTwoDimensions(
    standin::Entry entry, const std::string& plugin, const std::vector<std::string>& names,
    const std::function<std::vector<standin::Array>()>& arguments) {
    const struct {
        std::vector<std::size_t> dims;
        const char* shown;
    } shapes[] = {{{8, 4, 2}, "8x4x2"}, {{1, 1, 8}, "1x1x8"}, {{4, 4, 0}, "4x4x0"},
                  {{2, 2, 1, 3}, "2x2x1x3"}, {{1, 2, 3, 1, 1}, "1x2x3"}};
    const std::vector<standin::Array> valid = arguments();
    std::vector<const mxArray*> validPointers;
    for (const standin::Array& a : valid) validPointers.push_back(a.get());
    const standin::Outcome want = standin::call(entry, validPointers);
    ASSERT_FALSE(want.raised) << want.message;
    const standin::Array laterNd = standin::array({2, 2, 2});
    const standin::Array text = standin::ofKind(standin::Kind::Char, 1, 2);

    for (std::size_t position = 0; position < names.size(); ++position) {
        SCOPED_TRACE(names[position]);
        const std::size_t last = names.size() - 1;
        for (const auto& shape : shapes) {
            const standin::Array bad = standin::array(shape.dims);
            std::vector<const mxArray*> pointers = validPointers;
            pointers[position] = bad.get();
            const std::string message = plugin + ": argument " + names[position] +
                                        " must be a vector or a matrix (" + shape.shown + " given)";
            expectMessage(standin::call(entry, pointers), message);
            if (position < last) {
                pointers[last] = laterNd.get();
                expectMessage(standin::call(entry, pointers), message);
            }
            pointers[position == last ? 0 : last] = text.get();
            expectMessage(standin::call(entry, pointers),
                          plugin + ": argument " + names[position == last ? 0 : last] +
                              " must be a real, non-sparse double array");
        }
        const standin::Array padded = standin::array(
            {standin::rows(valid[position].get()), standin::cols(valid[position].get()), 1, 1},
            standin::values(valid[position].get()));
        std::vector<const mxArray*> pointers = validPointers;
        pointers[position] = padded.get();
        const standin::Outcome got = standin::call(entry, pointers);
        ASSERT_FALSE(got.raised) << got.message;
        EXPECT_EQ(standin::rows(got.result.get()), standin::rows(want.result.get()));
        EXPECT_EQ(standin::cols(got.result.get()), standin::cols(want.result.get()));
        EXPECT_TRUE(support::sameBits(standin::values(got.result.get()),
                                      standin::values(want.result.get())));
    }
}

// A valid call of either wavelet plug-in: a 4 x 4 ramp, a two-tap pair of
// filters and one level.
inline std::vector<standin::Array> validWaveletCall() {
    std::vector<standin::Array> args;
    args.push_back(standin::matrix(4, 4, support::iota(16)));
    args.push_back(standin::row({1, 1}));
    args.push_back(standin::row({1, -1}));
    args.push_back(standin::scalar(1));
    return args;
}

}  // namespace gateway_support
