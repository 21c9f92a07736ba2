// cyclic_split and cyclic_merge through the stand-in host: worked examples,
// argument conventions, the order of the checks, and unsafe arguments refused
// before anything is read or created.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cyclic_merge.h"
#include "core/cyclic_split.h"
#include "gateway_support.h"
#include "plugins.h"
#include "test_support.h"

using gateway_support::expectMessage;
using standin::Array;
using support::sameBits;

namespace {

const char* const kCount = "There must be 3 input parameters!";

struct Plugin {
    const char* name;
    standin::Entry entry;
    bool (*core)(const double*, double*, int, int, const double*, const double*, int);
};
const Plugin kPlugins[] = {
    {"cyclic_split", cyclic_split_entry, cyclic_split::filterColumnsANDrows},
    {"cyclic_merge", cyclic_merge_entry, cyclic_merge::filterColumnsANDrows}};

standin::Outcome run(const Plugin& p, const mxArray* x, const mxArray* f1, const mxArray* f2,
                     int nlhs = 1) {
    return standin::call(p.entry, {x, f1, f2}, nlhs);
}

std::vector<double> resultOf(const standin::Outcome& out) {
    EXPECT_FALSE(out.raised) << out.message;
    EXPECT_EQ(out.created, 1);
    return out.result ? standin::values(out.result.get()) : std::vector<double>{};
}

std::string ours(const Plugin& p, const std::string& text) { return std::string(p.name) + ": " + text; }

// Matrices written row by row, stored column-major.
Array byRows(std::size_t R, std::size_t C, const std::vector<double>& rows) {
    std::vector<double> m(rows.size());
    for (std::size_t r = 0; r < R; ++r)
        for (std::size_t c = 0; c < C; ++c) m[r + c * R] = rows[r * C + c];
    return standin::matrix(R, C, m);
}

}  // namespace

TEST(CircularGateways, WorkedExamples) {
    const Plugin& split = kPlugins[0];
    const Plugin& merge = kPlugins[1];
    const Array x = byRows(2, 3, {1, 2, 3, 4, 5, 6});
    const Array ten = standin::row({1, 10}), delay = standin::row({0, 1}), lead = standin::row({1, 0});
    EXPECT_TRUE(sameBits(resultOf(run(split, x.get(), lead.get(), delay.get())),
                         standin::values(byRows(2, 3, {4, 5, 6, 1, 2, 3}).get())));
    EXPECT_TRUE(sameBits(resultOf(run(split, x.get(), lead.get(), lead.get())),
                         standin::values(byRows(2, 3, {5, 6, 4, 2, 3, 1}).get())));
    const Array f1 = standin::row({5, 7}), f2 = standin::row({1, 10});
    const Array row4 = standin::row({1, 2, 3, 4}), col4 = standin::column({1, 2, 3, 4});
    EXPECT_TRUE(sameBits(resultOf(run(split, row4.get(), f1.get(), f2.get())), {12, 23, 34, 41}));
    EXPECT_TRUE(sameBits(resultOf(run(split, col4.get(), f1.get(), f2.get())), {17, 29, 41, 33}));

    EXPECT_TRUE(sameBits(resultOf(run(merge, x.get(), ten.get(), delay.get())),
                         standin::values(byRows(2, 3, {63, 41, 52, 36, 14, 25}).get())));
    const Array square = byRows(2, 2, {1, 2, 3, 4});
    EXPECT_TRUE(sameBits(resultOf(run(merge, square.get(), ten.get(), delay.get())),
                         standin::values(byRows(2, 2, {42, 31, 24, 13}).get())));
    const Array row3 = standin::row({1, 2, 3}), col3 = standin::column({1, 2, 3});
    EXPECT_TRUE(sameBits(resultOf(run(merge, row3.get(), ten.get(), delay.get())), {3, 1, 2}));
    EXPECT_TRUE(sameBits(resultOf(run(merge, col3.get(), ten.get(), delay.get())), {31, 12, 23}));
}

TEST(CircularGateways, ArgumentConventions) {
    std::mt19937_64 rng(11);
    const auto data = support::randomValues(rng, 4 * 5);
    const auto taps = support::randomValues(rng, 6);
    const Array x = standin::matrix(4, 5, data);
    for (const Plugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        auto core = [&](int K) {
            std::vector<double> y(data.size());
            p.core(data.data(), y.data(), 4, 5, taps.data(), taps.data() + 3, K);
            return y;
        };
        // K is F1's column count; F1's taps run down its columns; F2's shape is
        // not read and its values past the K-th are ignored.
        const Array f1Row = standin::row({taps[0], taps[1], taps[2]});
        const Array f1Matrix = standin::matrix(2, 3, {taps[0], taps[1], taps[2], 9, 9, 9});
        const Array f2Row = standin::row({taps[3], taps[4], taps[5]});
        const Array f2Longer = standin::column({taps[3], taps[4], taps[5], 9, 9});
        const Array f2Matrix = standin::matrix(3, 2, {taps[3], taps[4], taps[5], 9, 9, 9});
        const std::vector<double> want = core(3);
        EXPECT_TRUE(sameBits(resultOf(run(p, x.get(), f1Row.get(), f2Row.get())), want));
        EXPECT_TRUE(sameBits(resultOf(run(p, x.get(), f1Matrix.get(), f2Longer.get())), want));
        EXPECT_TRUE(sameBits(resultOf(run(p, x.get(), f1Row.get(), f2Matrix.get())), want));
        // A column F1 has one column: one tap each, F1's first value and F2's first.
        const Array f1Column = standin::column({taps[0], 9, 9});
        EXPECT_TRUE(sameBits(resultOf(run(p, x.get(), f1Column.get(), f2Row.get())), core(1)));

        // The result fills the first slot, whatever number of results is asked for.
        for (int nlhs : {0, 1, 2}) {
            const standin::Outcome out = run(p, x.get(), f1Row.get(), f2Row.get(), nlhs);
            EXPECT_EQ(standin::rows(out.result.get()), 4u);
            EXPECT_EQ(standin::cols(out.result.get()), 5u);
            EXPECT_TRUE(sameBits(resultOf(out), want));
        }
    }
}

TEST(CircularGateways, FiltersThatNoPassReadsAreAccepted) {
    for (const Plugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        // Declared-only filters hold no data: reading them would fault.
        const Array noData = standin::declaredOnly(1, 3);
        const Array none = standin::matrix(0, 0);
        const Array one = standin::scalar(-0.0);
        const Array taps = standin::row({2, 3, 5});
        EXPECT_TRUE(sameBits(resultOf(run(p, one.get(), none.get(), none.get())), {-0.0}));
        EXPECT_TRUE(sameBits(resultOf(run(p, one.get(), noData.get(), noData.get())), {-0.0}));

        const Array row = standin::row({1, 2, 3, 4}), col = standin::column({1, 2, 3, 4});
        const Array noRows = standin::matrix(0, 3);
        EXPECT_TRUE(sameBits(resultOf(run(p, row.get(), noData.get(), taps.get())),
                             resultOf(run(p, row.get(), taps.get(), taps.get()))));
        EXPECT_TRUE(sameBits(resultOf(run(p, row.get(), noRows.get(), taps.get())),
                             resultOf(run(p, row.get(), taps.get(), taps.get()))));
        EXPECT_TRUE(sameBits(resultOf(run(p, col.get(), taps.get(), none.get())),
                             resultOf(run(p, col.get(), taps.get(), taps.get()))));

        // Empty inputs give empty results of the same size, whatever the filters.
        for (auto size : {std::pair<std::size_t, std::size_t>{0, 0}, {0, 7}, {7, 0}}) {
            const Array x = standin::matrix(size.first, size.second);
            const standin::Outcome out = run(p, x.get(), none.get(), none.get());
            ASSERT_FALSE(out.raised) << out.message;
            EXPECT_EQ(standin::rows(out.result.get()), size.first);
            EXPECT_EQ(standin::cols(out.result.get()), size.second);
        }
    }
}

TEST(CircularGateways, WrongArgumentCounts) {
    const Array a = standin::scalar(1);
    for (const Plugin& p : kPlugins) {
        for (int n : {0, 1, 2, 4, 5}) {
            std::vector<const mxArray*> args(static_cast<std::size_t>(n), a.get());
            expectMessage(standin::call(p.entry, args), kCount);
        }
        // The count is tested before anything about the arguments.
        const Array text = standin::ofKind(standin::Kind::Char, 1, 3);
        expectMessage(standin::call(p.entry, {text.get(), text.get()}), kCount);
    }
}

TEST(CircularGateways, RefusesArgumentsThatAreNotRealFullDoubles) {
    for (const Plugin& p : kPlugins) {
        // The other arguments are unsafe too (empty filters): the class check comes first.
        gateway_support::expectEveryPositionRefusesNonRealDoubles(
            p.entry, p.name, {"X", "F1", "F2"}, [] {
                std::vector<Array> args;
                args.push_back(standin::matrix(4, 4));
                args.push_back(standin::matrix(0, 0));
                args.push_back(standin::matrix(0, 0));
                return args;
            });
    }
}

TEST(CircularGateways, RefusesArraysOfMoreThanTwoDimensions) {
    for (const Plugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        gateway_support::expectEveryPositionRefusesArraysOfMoreThanTwoDimensions(
            p.entry, p.name, {"X", "F1", "F2"}, [] {
                std::vector<Array> args;
                args.push_back(standin::matrix(3, 4, support::iota(12)));
                args.push_back(standin::row({0.5, 0.25}));
                args.push_back(standin::row({0.5, -0.25}));
                return args;
            });
    }
}

TEST(CircularGateways, RefusesFiltersShorterThanAPassReads) {
    const Array matrix = standin::matrix(3, 4), row = standin::row({1, 2, 3}),
                col = standin::column({1, 2, 3});
    const Array noColumns = standin::matrix(3, 0), noRows = standin::matrix(0, 2),
                two = standin::row({1, 2}), one = standin::scalar(1), none = standin::matrix(0, 0);
    for (const Plugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        const std::string noTaps = ours(p, "argument F1 must hold at least one column of filter taps");
        const std::string shortF1 = ours(p, "argument F1 must hold a filter tap for each of its columns");
        const std::string shortF2 =
            ours(p, "argument F2 must hold at least as many filter taps as F1 has columns");
        for (const Array* x : {&matrix, &row, &col})
            expectMessage(run(p, x->get(), noColumns.get(), two.get()), noTaps);
        expectMessage(run(p, matrix.get(), noRows.get(), two.get()), shortF1);
        expectMessage(run(p, col.get(), noRows.get(), two.get()), shortF1);
        expectMessage(run(p, matrix.get(), two.get(), one.get()), shortF2);
        expectMessage(run(p, row.get(), two.get(), none.get()), shortF2);
        // F1's checks come before F2's.
        expectMessage(run(p, matrix.get(), noRows.get(), none.get()), shortF1);
    }
}

TEST(CircularGateways, RefusesSizesBeyondThirtyTwoBits) {
    const std::size_t big = std::size_t{1} << 31;
    const Array tall = standin::declaredOnly(big, 1), wide = standin::declaredOnly(1, big),
                huge = standin::declaredOnly(65536, 65536);
    const Array taps = standin::row({1, 2});
    const Array one = standin::scalar(1), x = standin::matrix(4, 4);
    // 2^31 columns; then a filter whose lines no longer fit: 4 + K - 1 > 2^31 - 1.
    const Array manyTaps = standin::declaredOnly(1, big);
    const Array longTaps = standin::declaredOnly(1, 2147483647u - 2);
    const Array longest = standin::declaredOnly(1, 2147483647u),
                longestColumn = standin::declaredOnly(2147483647u, 1);
    for (const Plugin& p : kPlugins) {
        SCOPED_TRACE(p.name);
        const std::string xTooLarge =
            ours(p, "argument X is too large: sizes and buffers are limited to 2^31-1 elements");
        const std::string f1TooLarge =
            ours(p, "argument F1 is too large: sizes and buffers are limited to 2^31-1 elements");
        expectMessage(run(p, tall.get(), taps.get(), taps.get()), xTooLarge);
        expectMessage(run(p, wide.get(), taps.get(), taps.get()), xTooLarge);
        expectMessage(run(p, huge.get(), taps.get(), taps.get()), xTooLarge);
        expectMessage(run(p, one.get(), manyTaps.get(), manyTaps.get()), f1TooLarge);
        expectMessage(run(p, x.get(), longTaps.get(), longTaps.get()), f1TooLarge);
        // A line of 2^31 - 1 samples leaves no room for the wrap: X is at fault.
        expectMessage(run(p, longest.get(), taps.get(), taps.get()), xTooLarge);
        expectMessage(run(p, longestColumn.get(), taps.get(), taps.get()), xTooLarge);
    }
}
