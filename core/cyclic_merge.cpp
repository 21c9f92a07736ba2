#include "cyclic_merge.h"

#include "lines.h"

namespace cyclic_merge {

void conv(double* scratch, int n, const double* taps, int K, double* result) {
    // The wrap, one value at a time from the top of the gap down: each slot
    // copies the one n places above it, a line sample or a gap slot just filled,
    // so a filter longer than the line sees the line repeated.
    if (K > 1)
        for (int i = K - 2; i >= 0; --i) scratch[i] = scratch[i + n];

    for (int j = 0; j < n; ++j) {
        double s = 0.0;
        for (int m = 0; m < K; ++m) s += taps[K - 1 - m] * scratch[j + m];
        result[j] = s;
    }
}

bool filterColumnsANDrowsUsing(fast::Isa isa, const double* input, double* output, int rows,
                               int cols, const double* columnTaps, const double* rowTaps, int K) {
    // The line follows the K - 1 slots of its wrap.
    const int lineStart = K > 1 ? K - 1 : 0;
    return lines::filterColumnsThenRowsUsing(isa, fast::Wrap::Before, input, output, rows, cols,
                                             columnTaps, rowTaps, K, lineStart, conv);
}

bool filterColumnsANDrows(const double* input, double* output, int rows, int cols,
                          const double* columnTaps, const double* rowTaps, int K) {
    return filterColumnsANDrowsUsing(fast::best(), input, output, rows, cols, columnTaps,
                                     rowTaps, K);
}

}  // namespace cyclic_merge
