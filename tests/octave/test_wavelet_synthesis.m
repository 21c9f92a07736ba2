% wavelet_synthesis in Octave: worked examples, round trips with the analysis
% plug-in, argument conventions, messages and hostile arguments.
lo = [0.5 0.5];
hi = [0.5 -0.5];

% One line of 8 in either orientation, and the 4 x 4 pyramid at two levels.
want = [2.625 -1.375 2.125 -2.875 3.625 -2.375 2.625 -4.375];
same_bits (wavelet_synthesis (0:7, lo, hi, 3), want);
same_bits (wavelet_synthesis ((0:7)', lo', hi', 3), want');
same_bits (wavelet_synthesis (reshape (0:15, 4, 4), lo, hi, 2), ...
           reshape ([5.625 -0.375 5.625 -1.375 -3.375 0.625 -4.375 -0.375 ...
                     7.5 -2.5 8.75 -2.25 -5.5 -1.5 -5.25 -1.25], 4, 4));
% The 2 x 2 sum/difference pair at one level.
same_bits (wavelet_synthesis ([1 2; 3 4], [1 1], [1 -1], 1), [10 -2; -4 0]);
% An odd filter length: the first taps have no effect.
same_bits (wavelet_synthesis ([5 6 7 8], [100 2 3], [100 20 30], 1), [150 225 172 258]);

% Round trips with the 4-tap Daubechies pair restore the input to rounding.
d = 4 * sqrt (2);
h0 = [1+sqrt(3), 3+sqrt(3), 3-sqrt(3), 1-sqrt(3)] / d;
h1 = h0(end:-1:1) .* [1 -1 1 -1];
x = rand (16, 32) - 0.5;
for L = 0:4
  back = wavelet_synthesis (wavelet_analysis (x, h0, h1, L), fliplr (h0), fliplr (h1), L);
  assert (max (abs (back(:) - x(:))) <= 16 * eps);
end
v = rand (1, 64);
back = wavelet_synthesis (wavelet_analysis (v', h0, h1, 6), fliplr (h0)', fliplr (h1), 6);
assert (max (abs (back' - v)) <= 16 * eps);

% Level counts: truncated, never sign-checked; copies where nothing is rebuilt.
r = rand (8, 8);
same_bits (wavelet_synthesis (r, h0, h1, 2.9), wavelet_synthesis (r, h0, h1, 2));
for L = {0, -0.5, -3, NaN, Inf, -Inf, 3e9, 1024}
  same_bits (wavelet_synthesis (r, h0, h1, L{1}), r);
end
same_bits (wavelet_synthesis (pi, lo, hi, 1), pi);
same_bits (wavelet_synthesis (pi, lo, hi, 1e9), pi);
same_bits (wavelet_synthesis (zeros (0, 8), lo, hi, 3), zeros (0, 8));
% Filter shapes are free: a row or column G0, a G1 of any shape with enough values.
same_bits (wavelet_synthesis (r, h0', reshape (h1, 2, 2), 2), wavelet_synthesis (r, h0, h1, 2));
same_bits (wavelet_synthesis (r, h0, [h1 99 -99], 2), wavelet_synthesis (r, h0, h1, 2));

% The fixed messages, matched by their ending.
count = "There should be 4 input parameters!";
expect_error (@() wavelet_synthesis (r, lo, hi), count);
expect_error (@() wavelet_synthesis (r, lo, hi, 1, 1), count);
expect_error (@() wavelet_synthesis (ones (6, 4), lo, hi, 2), ...
              "The matrix row dimension must be divisible by 2^L");
expect_error (@() wavelet_synthesis (ones (4, 6), lo, hi, 2), ...
              "The matrix column dimension must be divisible by 2^L");
expect_error (@() wavelet_synthesis (ones (6, 6), lo, hi, 2), ...
              "The matrix row dimension must be divisible by 2^L");
expect_error (@() wavelet_synthesis (ones (1, 8), lo, hi, 1023), ...
              "The matrix column dimension must be divisible by 2^L");

% Hostile arguments give errors, never garbage.
nonreal = "must be a real, non-sparse double array";
expect_error (@() wavelet_synthesis (int8 (r), lo, hi, 1), ["argument Y " nonreal]);
expect_error (@() wavelet_synthesis (single (r), lo, hi, 1), ["argument Y " nonreal]);
expect_error (@() wavelet_synthesis (r + 1i, lo, hi, 1), ["argument Y " nonreal]);
expect_error (@() wavelet_synthesis (sparse (r), lo, hi, 1), ["argument Y " nonreal]);
expect_error (@() wavelet_synthesis (r, single (lo), hi, 1), ["argument G0 " nonreal]);
expect_error (@() wavelet_synthesis (r, lo, int8 ([1 -1]), 1), ["argument G1 " nonreal]);
expect_error (@() wavelet_synthesis (r, lo, hi, 1i), ["argument L " nonreal]);
expect_error (@() wavelet_synthesis (r, lo, hi, "1"), ["argument L " nonreal]);
expect_error (@() wavelet_synthesis (r, lo, hi, []), "argument L must hold the number of levels");
short = "argument G0 must hold at least two filter taps";
expect_error (@() wavelet_synthesis (r, [], hi, 1), short);
expect_error (@() wavelet_synthesis (r, 1, hi, 1), short);
expect_error (@() wavelet_synthesis (r, zeros (0, 5), hi, 1), short);
expect_error (@() wavelet_synthesis (r, h0, hi, 1), ...
              "argument G1 must hold at least as many filter taps as G0");
expect_error (@() wavelet_synthesis (zeros (2^31, 0), lo, hi, 0), ...
              "argument Y is too large: sizes and buffers are limited to 2^31-1 elements");
expect_only_matrices ("wavelet_synthesis", {r, lo, hi, 1}, {"Y", "G0", "G1", "L"});
