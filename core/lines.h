// The line machinery shared by the two circular filters: gathering a line of a
// column-major matrix into a contiguous scratch line, scattering the filtered
// line back, and running a line filter down every column and then along every
// row.  Where the line stands in its scratch line and how the wrap and the sums
// are formed belong to each filter alone.
#pragma once

#include <cstddef>
#include <optional>

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
    PassScratch(int n, int K) {
        if (n > 1) {
            line_.emplace(sizes::circularLineLength(n, K));
            result_.emplace(n);
        }
    }
    bool runs() const { return line_.has_value(); }
    bool ready() const { return !runs() || (*line_ && *result_); }
    double* line() const { return line_->get(); }
    double* result() const { return result_->get(); }

private:
    std::optional<Scratch> line_;
    std::optional<Scratch> result_;
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
    const PassScratch down(rows, K);
    const PassScratch across(cols, K);
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

// The same filtering with the kernels of one instruction set (bit-identical):
// the column pass reads the input and writes the output (so no copy is made
// first), the row pass filters groups of neighbouring rows at once.  Rows left
// over after the last group, and calls the kernels do not take, go through
// the line filter as above.
inline bool filterColumnsThenRowsUsing(fast::Isa isa, fast::Wrap wrap, const double* input,
                                       double* output, int rows, int cols,
                                       const double* columnTaps, const double* rowTaps, int K,
                                       int lineStart, LineFilter filter) {
    if (!fast::takes(isa, K))
        return filterColumnsThenRows(input, output, rows, cols, columnTaps, rowTaps, K,
                                     lineStart, filter);
    const fast::CircularKernels kernels = fast::circularKernels(isa);
    // The usual case, a matrix at least as wide as the filter, goes through
    // in one sweep; the rest pass by pass.
    const bool sweep = cols > 1 && cols >= K;
    const bool rowGroups = !sweep && cols > 1 && rows >= kernels.groupRows;
    const PassScratch across(sweep ? 0 : cols, K);
    const std::int64_t sweepWork = sweep ? static_cast<std::int64_t>(K) * rows + K + 2 : 0;
    const std::int64_t passWork = fast::workLength(kernels.groupRows, rowGroups ? cols : 0,
                                                   sizes::larger(rows, cols), K);
    Scratch work(sizes::larger(sweepWork, passWork));
    if (!across.ready() || !work) return false;
    if (rows <= 0 || cols <= 0) return true;
    if (rows == 1 && cols > 1) {  // a row vector is one contiguous line
        kernels.line(input, output, cols, rowTaps, K, wrap, work.get());
        return true;
    }
    if (sweep) {
        kernels.matrix(input, output, rows, cols, columnTaps, rowTaps, K, wrap, work.get());
        return true;
    }

    if (rows > 1) {
        for (int c = 0; c < cols; ++c) {
            const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(c) * rows;
            kernels.line(input + first, output + first, rows, columnTaps, K, wrap, work.get());
        }
    } else {
        for (int c = 0; c < cols; ++c) output[c] = input[c];
    }
    if (across.runs()) {
        const int groups = rowGroups ? rows / kernels.groupRows : 0;
        kernels.rowGroups(output, rows, groups, cols, rowTaps, K, wrap, work.get());
        for (int r = groups * kernels.groupRows; r < rows; ++r)
            filterLine(output + r, rows, cols, rowTaps, K, across, lineStart, filter);
    }
    return true;
}

}  // namespace lines
