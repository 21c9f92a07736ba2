% cyclic_split and cyclic_merge in Octave: worked examples, argument
% conventions, messages and hostile arguments.
x = [1 2 3; 4 5 6];

% Worked examples: the appended wrap leads, the prepended wrap convolves.
same_bits (cyclic_split (x, [1 0], [0 1]), [4 5 6; 1 2 3]);
same_bits (cyclic_split (x, [1 0], [1 0]), [5 6 4; 2 3 1]);
same_bits (cyclic_split (1:4, [5 7], [1 10]), [12 23 34 41]);
same_bits (cyclic_split ((1:4)', [5 7], [1 10]), [17; 29; 41; 33]);
same_bits (cyclic_merge (x, [1 10], [0 1]), [63 41 52; 36 14 25]);
same_bits (cyclic_merge ([1 2; 3 4], [1 10], [0 1]), [42 31; 24 13]);
same_bits (cyclic_merge (1:3, [1 10], [0 1]), [3 1 2]);
same_bits (cyclic_merge ((1:3)', [1 10], [0 1]), [31; 12; 23]);
% A filter longer than the line: 6 taps over 3 samples.
same_bits (cyclic_merge ([1; 10; 100], 1:6, 1), [795; 957; 579]);

% The two differ by a shift of K - 1 samples along every filtered dimension.
r = randn (5, 7);
f1 = randn (1, 4);
f2 = randn (1, 4);
same_bits (cyclic_split (r, f1, f2), circshift (cyclic_merge (r, f1, f2), [-3 -3]));

% Conventions: K is F1's column count, F1's taps run down its columns, F2's
% shape is never read and its values past the K-th are ignored.
for op = {@cyclic_split, @cyclic_merge}
  f = op{1};
  want = f (r, f1, f2);
  same_bits (f (r, reshape ([f1 9 9 9 9], 2, 4), f2), want);
  same_bits (f (r, f1, [f2 9 9]'), want);
  same_bits (f (r, f1, reshape ([f2 9 9], 2, 3)), want);
  same_bits (f (r, [2; 9; 9], [3 9]), r * 6);  % one tap each: scaled by 2, then 3
  same_bits (f (pi, [], []), pi);              % 1 x 1: no filter is read
  same_bits (f (1:4, zeros (0, 2), [0 1]), f (1:4, [0 0], [0 1]));
  same_bits (f ((1:4)', [0 1], []), f ((1:4)', [0 1], [0 0]));
  same_bits (f (zeros (0, 5), [], []), zeros (0, 5));
  same_bits (f (zeros (5, 0), [], []), zeros (5, 0));
  [y1, y2] = deal (f (r, f1, f2));  % one result, whatever is asked
  same_bits (y1, want);
end

% Messages, matched by their ending.
nonreal = "must be a real, non-sparse double array";
for name = {"cyclic_split", "cyclic_merge"}
  f = str2func (name{1});
  expect_error (@() f (x, [1 0]), "There must be 3 input parameters!");
  expect_error (@() f (x, [1 0], [1 0], 1), "There must be 3 input parameters!");
  expect_error (@() f (), "There must be 3 input parameters!");
  expect_error (@() f (int8 (x), [1 0], [1 0]), ["argument X " nonreal]);
  expect_error (@() f (single (x), [1 0], [1 0]), ["argument X " nonreal]);
  expect_error (@() f (x + 1i, [1 0], [1 0]), ["argument X " nonreal]);
  expect_error (@() f (sparse (x), [1 0], [1 0]), ["argument X " nonreal]);
  expect_error (@() f (x, {[1 0]}, [1 0]), ["argument F1 " nonreal]);
  expect_error (@() f (x, [1 0], true (1, 2)), ["argument F2 " nonreal]);
  expect_error (@() f (x, [1 0], "ab"), ["argument F2 " nonreal]);
  expect_error (@() f (x, [], [1 0]), "argument F1 must hold at least one column of filter taps");
  expect_error (@() f (1:3, zeros (2, 0), [1 0]), ...
                "argument F1 must hold at least one column of filter taps");
  expect_error (@() f (x, zeros (0, 2), [1 0]), ...
                "argument F1 must hold a filter tap for each of its columns");
  expect_error (@() f (x, [1 0 0], [1 0]), ...
                "argument F2 must hold at least as many filter taps as F1 has columns");
  expect_error (@() f (zeros (2^31, 0), [1 0], [1 0]), ...
                "argument X is too large: sizes and buffers are limited to 2^31-1 elements");
  expect_error (@() f (1, zeros (0, 2^31), []), ...
                "argument F1 is too large: sizes and buffers are limited to 2^31-1 elements");
  expect_only_matrices (name{1}, {x, [1 0], [1 0]}, {"X", "F1", "F2"});
end

% The help text sits beside each binary, and the binaries still run.
assert (strncmp (strtrim (help ("cyclic_split")), "CYCLIC_SPLIT", 12));
assert (strncmp (strtrim (help ("cyclic_merge")), "CYCLIC_MERGE", 12));
same_bits (cyclic_merge ([1 2 3; 4 5 6], [1 10], [0 1]), [63 41 52; 36 14 25]);
