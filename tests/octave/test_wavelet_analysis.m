% wavelet_analysis in Octave: worked examples, argument conventions, messages
% and hostile arguments.
lo = [0.5 0.5];
hi = [0.5 -0.5];

% The 4 x 4 example at one and two levels.
x = reshape (1:16, 4, 4);
same_bits (wavelet_analysis (x, lo, hi, 1), ...
           [3.5 11.5 2 2; 5.5 13.5 2 2; 0.5 0.5 0 0; 0.5 0.5 0 0]);
same_bits (wavelet_analysis (x, lo, hi, 2), ...
           [8.5 4 2 2; 1 0 2 2; 0.5 0.5 0 0; 0.5 0.5 0 0]);

% Vectors of both orientations; one-tap filters; a filter longer than the line.
want = [3.5 2 1 1 0.5 0.5 0.5 0.5];
same_bits (wavelet_analysis (0:7, lo, hi, 3), want);
same_bits (wavelet_analysis ((0:7)', lo', hi', 3), want');
same_bits (wavelet_analysis (1:4, 3, -1, 1), [3 9 -1 -3]);
same_bits (wavelet_analysis ([5 7], ones (1, 8), ones (1, 8), 1), [48 48]);

% Level counts: truncated, zero, and 1 x 1 with any count.
r = rand (8, 8);
same_bits (wavelet_analysis (r, lo, hi, 2.7), wavelet_analysis (r, lo, hi, 2));
same_bits (wavelet_analysis (r, lo, hi, -0.5), r);
same_bits (wavelet_analysis (pi, lo, hi, 1e9), pi);
same_bits (wavelet_analysis (zeros (0, 8), lo, hi, 3), zeros (0, 8));

% The fixed messages, matched by their ending.
expect_error (@() wavelet_analysis (x, lo, hi), "There must be 4 input parameters!");
expect_error (@() wavelet_analysis (x, lo, hi, 1, 1), "There must be 4 input parameters!");
expect_error (@() wavelet_analysis (x, 1:4, (1:4)', 1), ...
              "The size of the analyis filters are not consistent!");
for bad = {-1, NaN, 3e9, Inf}
  expect_error (@() wavelet_analysis (x, lo, hi, bad{1}), ...
                "The number of decomposition levels must be a non-negative integer!");
end
expect_error (@() wavelet_analysis (ones (6, 4), lo, hi, 2), ...
              "The matrix row dimension must be of size m*2^L");
expect_error (@() wavelet_analysis (ones (4, 6), lo, hi, 2), ...
              "The matrix column dimension must be of size n*2^L");
expect_error (@() wavelet_analysis (ones (1, 6), lo, hi, 2), ...
              "The matrix column dimension must be of size n*2^L");
expect_error (@() wavelet_analysis (ones (4, 4), lo, hi, 3), ...
              "The matrix row dimension must be of size m*2^L");
expect_error (@() wavelet_analysis (ones (4, 4), lo, hi, 1024), ...
              "The matrix row dimension must be of size m*2^L");

% Hostile arguments give errors, never garbage.
nonreal = "must be a real, non-sparse double array";
expect_error (@() wavelet_analysis (int8 (x), lo, hi, 1), ["argument X " nonreal]);
expect_error (@() wavelet_analysis (single (x), lo, hi, 1), ["argument X " nonreal]);
expect_error (@() wavelet_analysis (x + 1i, lo, hi, 1), ["argument X " nonreal]);
expect_error (@() wavelet_analysis (sparse (x), lo, hi, 1), ["argument X " nonreal]);
expect_error (@() wavelet_analysis (x, single (lo), hi, 1), ["argument H0 " nonreal]);
expect_error (@() wavelet_analysis (x, lo, {hi}, 1), ["argument H1 " nonreal]);
expect_error (@() wavelet_analysis (x, lo, hi, true), ["argument L " nonreal]);
expect_error (@() wavelet_analysis (x, lo, hi, "1"), ["argument L " nonreal]);
expect_error (@() wavelet_analysis (x, lo, hi, []), "argument L must hold the number of levels");
expect_error (@() wavelet_analysis (x, [], [], 1), "argument H0 must hold at least one filter tap");
expect_error (@() wavelet_analysis (x, zeros (0, 5), zeros (0, 5), 1), ...
              "argument H0 must hold at least one filter tap");
expect_error (@() wavelet_analysis (zeros (2^31, 0), lo, hi, 0), ...
              "argument X is too large: sizes and buffers are limited to 2^31-1 elements");

% Arrays of more than two dimensions are refused, whatever the argument.
expect_only_matrices ("wavelet_analysis", {x, lo, hi, 1}, {"X", "H0", "H1", "L"});
same_bits (wavelet_analysis (zeros (4, 4, 1), lo, hi, 1), zeros (4, 4));

% The help text sits beside the binary, and the binary still runs.
assert (strncmp (strtrim (help ("wavelet_analysis")), "WAVELET_ANALYSIS", 16));
