% WAVELET_ANALYSIS  Multi-level periodic discrete wavelet transform (pyramid layout).
%
%   Y = wavelet_analysis (X, H0, H1, L)
%
%   Transforms the vector or matrix X over L levels with the analysis filter
%   pair H0 (low band) and H1 (high band).  Every line is treated as one period
%   of a periodic signal.  At each level every row of the current block is
%   split into its low half and high half, then every column; the next level
%   works on the top-left block of half the size.  A vector, row or column,
%   is one line.  Y has the size of X:
%
%       +-------+-------+---------------+
%       | LL2   | HL2   |               |
%       +-------+-------+      HL1      |
%       | LH2   | HH2   |               |
%       +-------+-------+---------------+
%       |               |               |
%       |      LH1      |      HH1      |
%       |               |               |
%       +---------------+---------------+
%
%   (L = 2; the first letter is the band along rows, the second down columns.)
%   A 1 x N or N x 1 vector gives one line: [LL_L, H_L, ..., H_2, H_1], each
%   high band H_l of N / 2^l values.  wavelet_synthesis takes this layout back.
%
%   Arguments (all real, full double vectors or matrices; an array of more
%   than two dimensions is refused: call once per page instead):
%     X   the signal or image, M x N.  Every dimension greater than 1 must be
%         a multiple of 2^L.
%     H0  first analysis filter; its taps are its first K values, K being the
%         larger of its row and column counts.
%     H1  second analysis filter, of exactly the size of H0.
%     L   number of levels: its first value, truncated toward zero, >= 0.
%
%   With the taps h of a filter and a line x of n samples, each band value is
%     band(k) = sum over m of h(m) * x(mod(2k + K - 1 - m, n))   (0-based)
%   added from the last tap to the first, every product rounded first, so
%   results are the same to the last bit on every platform.
%
%   Errors:
%     "There must be 4 input parameters!"
%     "The size of the analyis filters are not consistent!"
%     "The number of decomposition levels must be a non-negative integer!"
%     "The matrix row dimension must be of size m*2^L"
%     "The matrix column dimension must be of size n*2^L"
%   and, for arguments that are not real full doubles, arrays of more than
%   two dimensions ("argument X must be a vector or a matrix (8x4x2 given)"),
%   an empty L or empty filters, or sizes beyond 2^31-1 elements, a message
%   naming the argument;
%   "out of memory for the scratch buffers" when scratch memory runs out.
%
%   Examples:
%     s = 1 / sqrt (2);
%     Y = wavelet_analysis (magic (8), [s s], [s -s], 3);
%
%     [h0, h1] = wavelet_filters ("db4");     % Haar, db1-db10, sym2-sym10
%     Y = wavelet_analysis (rand (256), h0, h1, 3);
%     LL3 = Y(1:32, 1:32);  HH1 = Y(129:256, 129:256);
%
%   See also wavelet_synthesis, cyclic_split, cyclic_merge, wavelet_filters.
