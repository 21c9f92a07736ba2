% CYCLIC_SPLIT  Separable circular filtering down columns, then along rows, looking ahead.
%
%   Y = cyclic_split (X, F1, F2)
%
%   Filters a copy of the matrix X down every column with F1, then along every
%   row with F2.  Every line (column or row) is treated as one period of a
%   periodic signal.  Each output sample combines the input sample at its own
%   position and the K - 1 samples that follow it, wrapping past the end of the
%   line, so the result is the circular convolution advanced by K - 1 samples:
%     y(i) = sum over k = 0 .. K-1 of x(mod(i + k, n)) * h(K - 1 - k)   (0-based)
%   added from k = 0 upwards, every product rounded first, so results are the
%   same to the last bit on every platform.  A filter longer than the line
%   wraps around it as often as needed.  A dimension of length 1 is left
%   unfiltered (its filter is not used); a 1 x 1 X comes back unchanged.
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
%     Y = cyclic_split ([1 2 3; 4 5 6], [1 0], [1 0])   % gives [5 6 4; 2 3 1]
%
%   See also cyclic_merge, wavelet_analysis, wavelet_synthesis, wavelet_filters.
