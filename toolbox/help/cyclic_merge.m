% CYCLIC_MERGE  Separable circular convolution down columns, then along rows.
%
%   Y = cyclic_merge (X, F1, F2)
%
%   Convolves a copy of the matrix X circularly down every column with F1, then
%   along every row with F2.  Every line (column or row) is treated as one
%   period of a periodic signal.  Each output sample combines the input sample
%   at its own position and the K - 1 samples that precede it, wrapping past
%   the start of the line:
%     y(j) = sum over t = K-1 .. 0 of h(t) * x(mod(j - t, n))   (0-based)
%   added from the last tap to the first, every product rounded first, so
%   results are the same to the last bit on every platform.  A filter longer
%   than the line wraps around it as often as needed.  A dimension of length 1
%   is left unfiltered (its filter is not used); a 1 x 1 X comes back
%   unchanged.  cyclic_split gives the same values advanced by K - 1 samples.
%
%   Arguments (all real, full double vectors or matrices; an array of more
%   than two dimensions is refused: call once per page instead):
%     X   the signal or image, M x N; a row is filtered with F2 only, a column
%         with F1 only.
%     F1  column filter.  Its column count is K, the number of taps of both
%         filters; its taps are its first K values in column order.  A row
%         vector gives all of its values; a column vector gives K = 1.
%     F2  row filter: its first K values, whatever its shape; further values
%         are ignored.
%
%   Y has the size of X.
%
%   Errors:
%     "There must be 3 input parameters!"
%   and a message naming the argument for arguments that are not real full
%   doubles, arrays of more than two dimensions ("argument X must be a vector
%   or a matrix (8x4x2 given)"), an F1 without columns or with fewer than K values, an F2 with
%   fewer than K values (each only when the filter is used), sizes beyond
%   2^31-1 elements, or too little memory for the scratch buffers.
%
%   Example:
%     Y = cyclic_merge ([1 2 3; 4 5 6], [1 10], [0 1])   % gives [63 41 52; 36 14 25]
%
%   See also cyclic_split, wavelet_analysis, wavelet_synthesis, wavelet_filters.
