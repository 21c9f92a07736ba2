% WAVELET_SYNTHESIS  Multi-level periodic inverse wavelet transform (pyramid layout).
%
%   X = wavelet_synthesis (Y, G0, G1, L)
%
%   Rebuilds the vector or matrix X from the pyramid Y (the layout that
%   wavelet_analysis returns) over L levels with the synthesis filter pair G0
%   (low bands) and G1 (high bands).  Every line is treated as one period of a
%   periodic signal.  The first level works on the top-left block twice the
%   size of the coarsest bands: every column of the block is rebuilt from its
%   low half and high half, then every row; each further level works on the
%   block of twice the size.  A vector, row or column, is one line.  X has the
%   size of Y.  The pyramid (L = 2; the first letter is the band along rows,
%   the second down columns; see help wavelet_analysis):
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
%   A 1 x N or N x 1 pyramid is one line: [LL_L, H_L, ..., H_2, H_1], each
%   high band H_l of N / 2^l values.
%
%   With an orthonormal analysis pair H0, H1 of even length
%   (H1(m) = (-1)^m * H0(K-1-m), 0-based), G0 = fliplr (H0) and G1 = fliplr (H1)
%   give the input of wavelet_analysis back, up to rounding and with no shift.
%
%   Arguments (all real, full double vectors or matrices; an array of more
%   than two dimensions is refused: call once per page instead):
%     Y   the pyramid, M x N.  Every dimension greater than 1 must be a
%         multiple of 2^L.
%     G0  first synthesis filter; its taps are its first K values, K being the
%         larger of its row and column counts.  K must be at least 2.
%     G1  second synthesis filter: its first K values, whatever its shape;
%         further values are ignored.
%     L   number of levels: its first value, truncated toward zero.  0, a
%         negative value, NaN, or 1024 and more give a copy of Y.
%
%   With P = floor (K/2), e = K - 2P and the low and high bands lo, hi of a
%   line (n samples each), the rebuilt line is, for s = 0, 1 (0-based)
%     x(2i + s) = sum over j = P-1 .. 0 of G0(e + 2j + s) * lo(mod(i - j, n))
%                                        + G1(e + 2j + s) * hi(mod(i - j, n))
%   added from the highest tap pair down, every product rounded first, so
%   results are the same to the last bit on every platform.  For an odd K the
%   first tap of each filter has no effect.
%
%   Errors:
%     "There should be 4 input parameters!"
%     "The matrix row dimension must be divisible by 2^L"
%     "The matrix column dimension must be divisible by 2^L"
%   and a message naming the argument for arguments that are not real full
%   doubles, arrays of more than two dimensions ("argument Y must be a vector
%   or a matrix (8x4x2 given)"), an empty L, a G0 with fewer than two taps, a G1 with fewer values
%   than G0 has taps, sizes beyond 2^31-1 elements, or too little memory for
%   the scratch buffers.
%
%   Examples:
%     s = 1 / sqrt (2);
%     Y = wavelet_analysis (magic (8), [s s], [s -s], 3);
%     X = wavelet_synthesis (Y, [s s], [-s s], 3);   % magic (8), up to rounding
%
%     [h0, h1, g0, g1] = wavelet_filters ("sym8");
%     x = rand (64, 128);
%     z = wavelet_synthesis (wavelet_analysis (x, h0, h1, 4), g0, g1, 4);  % z == x to ~1e-15
%
%   See also wavelet_analysis, cyclic_split, cyclic_merge, wavelet_filters.
