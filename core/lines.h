// The line machinery shared by the two circular filters: gathering a line of a
// column-major matrix into a contiguous scratch line, scattering the filtered
// line back, and running a line filter down every column and then along every
// row; and the plan by which the kernels of one instruction set take a call
// (which path, how much scratch).  Where the line stands in its scratch line
// and how the wrap and the sums are formed belong to each filter alone.
#pragma once

#include <cstddef>

#include "fast/select.h"
#include "scratch.h"
#include "sizes.h"

namespace lines {

// A circular line filter: reads the n samples of `scratch` (placed where the
// filter wants them), writes the wrap into the rest of the scratch line and the
// n filtered samples into `result`.
using LineFilter = void (*)(double* scratch, int n, const double* taps, int K, double* result);

inline void gather(const double* first, std::ptrdiff_t stride, int n, double* to) {
    for (int k = 0; k < n; ++k) to[k] = first[k * stride];
}

inline void scatter(const double* from, int n, double* first, std::ptrdiff_t stride) {
    for (int k = 0; k < n; ++k) first[k * stride] = from[k];
}

// The scratch of one pass over lines of n samples: the line with its wrap and
// the filtered line.  Lines of one sample are not filtered, so such a pass
// takes nothing.
class PassScratch {
public:
    PassScratch(int n, int K)
        : runs_(n > 1), line_(runs_ ? sizes::circularLineLength(n, K) : 0), result_(runs_ ? n : 0) {}
    bool runs() const { return runs_; }
    bool ready() const { return line_ && result_; }
    double* line() const { return line_.get(); }
    double* result() const { return result_.get(); }

private:
    bool runs_;
    Scratch line_;
    Scratch result_;
};

// Filters the n samples starting at `first`, `stride` apart, in place: the line
// goes to slot `lineStart` of the scratch line, and is written back only once
// all its filtered samples exist.
inline void filterLine(double* first, std::ptrdiff_t stride, int n, const double* taps, int K,
                       const PassScratch& scratch, int lineStart, LineFilter filter) {
    gather(first, stride, n, scratch.line() + lineStart);
    filter(scratch.line(), n, taps, K, scratch.result());
    scatter(scratch.result(), n, first, stride);
}

// Copies the rows x cols input into output, then filters every column of the
// output (when rows > 1), then every row (when cols > 1).  The scratch of both
// passes is taken before anything is written, so when some of it is missing
// the result is false and the output is untouched.
inline bool filterColumnsThenRows(const double* input, double* output, int rows, int cols,
                                  const double* columnTaps, const double* rowTaps, int K,
                                  int lineStart, LineFilter filter) {
    // A pass over no lines (the other dimension empty) takes nothing either.
    const PassScratch down(cols > 0 ? rows : 0, K);
    const PassScratch across(rows > 0 ? cols : 0, K);
    if (!down.ready() || !across.ready()) return false;

    const int count = (rows > 0 && cols > 0) ? rows * cols : 0;
    for (int k = 0; k < count; ++k) output[k] = input[k];

    if (down.runs()) {
        for (int c = 0; c < cols; ++c)
            filterLine(output + static_cast<std::ptrdiff_t>(c) * rows, 1, rows, columnTaps, K,
                       down, lineStart, filter);
    }
    if (across.runs()) {
        for (int r = 0; r < rows; ++r)
            filterLine(output + r, rows, cols, rowTaps, K, across, lineStart, filter);
    }
    return true;
}

// How a call with the kernels runs, and the scratch it takes: one buffer of
// `work` doubles, none at all when that is 0.
struct Plan {
    enum class Path {
        Copy,    // nothing to filter: an empty matrix, or a single sample
        Line,    // a vector: one contiguous line
        Sweep,   // the matrix in one sweep, columns filtered just before the rows need them
        Passes,  // all the columns, then the rows in groups and one by one
    };
    Path path;
    std::int64_t work;
};

// The sweep keeps K - 1 filtered columns aside; it is taken only while they
// take no more than a group of columns or a group of rows with its wrap would,
// so no path's scratch grows with K times the number of lines: the passes
// take at most a group of rows or one line, each with its wrap.
inline Plan planFor(int groupRows, int rows, int cols, int K) {
    using Path = Plan::Path;
    if (rows <= 0 || cols <= 0 || (rows == 1 && cols == 1)) return {Path::Copy, 0};
    if (rows == 1 || cols == 1) {
        const int n = rows == 1 ? cols : rows;
        return {Path::Line, fast::circularEdgeLength(n, K)};
    }
    const std::int64_t kept = static_cast<std::int64_t>(K - 1) * rows;
    if (cols >= K && kept <= groupRows * sizes::larger(rows, std::int64_t{cols} + K - 1))
        return {Path::Sweep, kept + fast::circularEdgeLength(rows, K)};
    std::int64_t work = fast::circularEdgeLength(rows, K);
    if (rows >= groupRows)
        work = sizes::larger(work, static_cast<std::int64_t>(groupRows) * (cols + K - 1));
    if (rows % groupRows != 0)
        work = sizes::larger(work, cols + fast::circularEdgeLength(cols, K));
    return {Path::Passes, work};
}

// The passes of Plan::Passes (rows, cols > 1): every column from input into
// output, then groups of neighbouring rows in place, then each row left over
// gathered into the scratch, filtered there onto itself and scattered back.
inline void filterByPasses(const fast::CircularKernels& kernels, fast::Wrap wrap,
                           const double* input, double* output, int rows, int cols,
                           const double* columnTaps, const double* rowTaps, int K, double* work) {
    for (int c = 0; c < cols; ++c) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(c) * rows;
        kernels.line(input + first, output + first, rows, columnTaps, K, wrap, work);
    }
    const int groups = rows / kernels.groupRows;
    kernels.rowGroups(output, rows, groups, cols, rowTaps, K, wrap, work);
    for (int r = groups * kernels.groupRows; r < rows; ++r) {
        gather(output + r, rows, cols, work);
        kernels.line(work, work, cols, rowTaps, K, wrap, work + cols);
        scatter(work, cols, output + r, rows);
    }
}

// The same filtering with the kernels of one instruction set (bit-identical),
// along the path the plan picks.  Calls the kernels do not take go through
// the line filter as above.
inline bool filterColumnsThenRowsUsing(fast::Isa isa, fast::Wrap wrap, const double* input,
                                       double* output, int rows, int cols,
                                       const double* columnTaps, const double* rowTaps, int K,
                                       int lineStart, LineFilter filter) {
    if (!fast::takes(isa, K))
        return filterColumnsThenRows(input, output, rows, cols, columnTaps, rowTaps, K,
                                     lineStart, filter);
    const fast::CircularKernels kernels = fast::circularKernels(isa);
    const Plan plan = planFor(kernels.groupRows, rows, cols, K);
    const Scratch scratch(plan.work);
    if (!scratch) return false;
    double* work = scratch.get();

    switch (plan.path) {
        case Plan::Path::Copy:
            if (rows > 0 && cols > 0) output[0] = input[0];
            break;
        case Plan::Path::Line:
            kernels.line(input, output, rows == 1 ? cols : rows, rows == 1 ? rowTaps : columnTaps,
                         K, wrap, work);
            break;
        case Plan::Path::Sweep:
            kernels.matrix(input, output, rows, cols, columnTaps, rowTaps, K, wrap, work);
            break;
        case Plan::Path::Passes:
            filterByPasses(kernels, wrap, input, output, rows, cols, columnTaps, rowTaps, K, work);
            break;
    }
    return true;
}

}  // namespace lines
