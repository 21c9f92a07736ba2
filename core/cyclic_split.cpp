#include "cyclic_split.h"

#include "lines.h"

namespace cyclic_split {

void conv(double* scratch, int n, const double* taps, int K, double* result) {
    // The wrap, one value at a time in ascending order: when the filter is
    // longer than the line, slots written earlier in this loop are copied on.
    for (int k = 0; k + 1 < K; ++k) scratch[n + k] = scratch[k];

    for (int i = 0; i < n; ++i) {
        double s = 0.0;
        for (int k = 0; k < K; ++k) s += scratch[i + k] * taps[K - 1 - k];
        result[i] = s;
    }
}

bool filterColumnsANDrowsUsing(fast::Isa isa, const double* input, double* output, int rows,
                               int cols, const double* columnTaps, const double* rowTaps, int K) {
    // The line opens the scratch line; its wrap follows it.
    const int lineStart = 0;
    return lines::filterColumnsThenRowsUsing(isa, fast::Wrap::After, input, output, rows, cols,
                                             columnTaps, rowTaps, K, lineStart, conv);
}

bool filterColumnsANDrows(const double* input, double* output, int rows, int cols,
                          const double* columnTaps, const double* rowTaps, int K) {
    return filterColumnsANDrowsUsing(fast::best(), input, output, rows, cols, columnTaps,
                                     rowTaps, K);
}

}  // namespace cyclic_split
