% wavelet_filters: the defining equations of every filter bank, published
% values, and perfect reconstruction through the plug-ins.
addpath (fullfile (fileparts (which ("run_tests")), "..", "..", "toolbox"));

names = wavelet_filters ();
assert (iscellstr (names) && numel (names) == 20);
assert (all (ismember ([{"haar"}, arrayfun(@(n) sprintf ("db%d", n), 1:10, "UniformOutput", false), ...
                        arrayfun(@(n) sprintf ("sym%d", n), 2:10, "UniformOutput", false)], names)));

% Orthonormality, the DC gain, the vanishing moments (exactly N of them) and
% the relations between the four filters, for every bank.
for i = 1:numel (names)
  name = names{i};
  [h0, h1, g0, g1] = wavelet_filters (name);
  K = numel (h0);
  N = K / 2;
  assert (isrow (h0) && isrow (h1) && isrow (g0) && isrow (g1), "%s: row vectors", name);
  assert (numel (h1) == K && numel (g0) == K && numel (g1) == K && N == fix (N), "%s: sizes", name);
  want_N = str2double (regexprep (name, '^\D+', ''));
  if (strcmp (name, "haar"))
    want_N = 1;
  end
  assert (N == want_N, "%s: %d taps", name, K);
  for m = 0:N-1
    c = sum (h0(1:K-2*m) .* h0(1+2*m:K));
    assert (abs (c - (m == 0)) <= 1e-15, "%s: sum h0(k) h0(k+%d) = %.3g", name, 2*m, c);
  end
  assert (abs (sum (h0) - sqrt (2)) <= 1e-15, "%s: sum h0 - sqrt(2) = %.3g", name, sum (h0) - sqrt (2));
  k = 0:K-1;
  for p = 0:N
    terms = k .^ p .* h1;
    tol = 16 * eps * sum (abs (terms));
    if (p < N)
      assert (abs (sum (terms)) <= tol, "%s: moment %d of h1 is %.3g (tolerance %.3g)", name, p, sum (terms), tol);
    else
      assert (abs (sum (terms)) > 1e6 * tol, "%s: more than %d vanishing moments", name, N);
    end
  end
  assert (isequal (h1, (-1) .^ k .* fliplr (h0)), "%s: h1", name);
  assert (isequal (g0, fliplr (h0)) && isequal (g1, fliplr (h1)), "%s: g0, g1", name);
  assert (isequal (wavelet_filters (upper (name)), h0), "%s: case", name);
end

% Published values.
r3 = sqrt (3);
assert (max (abs (wavelet_filters ("db2") - [1+r3, 3+r3, 3-r3, 1-r3] / (4 * sqrt (2)))) <= 2 * eps);
assert (max (abs (wavelet_filters ("haar") - [1 1] / sqrt (2))) <= eps);
published.db4 = [0.2303778133088964, 0.7148465705529154, 0.6308807679298587, -0.0279837694168599, ...
                 -0.1870348117190931, 0.0308413818355607, 0.0328830116668852, -0.0105974017850690];
published.sym4 = [-0.0757657147893, -0.0296355276460, 0.4976186676324, 0.8037387518052, ...
                  0.2978577956055, -0.0992195435769, -0.0126039672622, 0.0322231006040];
published.sym8 = [-0.0033824159510061, -0.0005421323317911, 0.0316950878114930, 0.0076074873249176, ...
                  -0.1432942383508097, -0.0612733590676585, 0.4813596512583722, 0.7771857517005235, ...
                  0.3644418948353314, -0.0519458381077090, -0.0272190299170560, 0.0491371796736075, ...
                  0.0038087520138906, -0.0149522583370482, -0.0003029205147213, 0.0018899503327594];
for f = fieldnames (published)'
  err = max (abs (wavelet_filters (f{1}) - published.(f{1})));
  assert (err <= 1e-12, "%s differs from the published values by %.3g", f{1}, err);
end

% Symlets: sym2 and sym3 are db2 and db3; from sym4 on the phase is closer to
% linear than Daubechies' minimum phase, and the energy sits nearer the middle.
assert (isequal (wavelet_filters ("sym2"), wavelet_filters ("db2")));
assert (isequal (wavelet_filters ("sym3"), wavelet_filters ("db3")));
w = linspace (0, pi, 257)(2:end-1);
for N = 4:10
  d = wavelet_filters (sprintf ("db%d", N));
  s = wavelet_filters (sprintf ("sym%d", N));
  k = 0:2*N-1;
  dev = @(h) max (abs (unwrap (angle (polyval (fliplr (h), exp (-1i * w)))) + (2*N-1) / 2 * w));
  assert (dev (s) < dev (d), "sym%d: phase no closer to linear than db%d", N, N);
  assert (abs (sum (k .* s .^ 2) - (2*N-1) / 2) < abs (sum (k .* d .^ 2) - (2*N-1) / 2));
end

% Unknown names.
for bad = {"db0", "db11", "sym1", "sym11", "coif2", "db4x", "", "dB", "haar2"}
  expect_error (@() wavelet_filters (bad{1}), sprintf ("'%s' (use 'haar', 'db1' ... 'db10' or 'sym2' ... 'sym10')", lower (bad{1})));
end
expect_error (@() wavelet_filters (4), "NAME must be a string such as 'db4' or 'sym8'");

% Perfect reconstruction through the plug-ins: random matrices and both vector
% orientations, at several levels, with every bank.
rand ("seed", 7);
x = rand (32, 64) - 0.5;
v = rand (1, 128) - 0.5;
for i = 1:numel (names)
  [h0, h1, g0, g1] = wavelet_filters (names{i});
  tol = 64 * eps;
  for L = [1 3 5]
    y = wavelet_analysis (x, h0, h1, L);
    assert (abs (norm (y, "fro") - norm (x, "fro")) <= tol * norm (x, "fro"), "%s: energy kept", names{i});
    back = wavelet_synthesis (y, g0, g1, L);
    assert (max (abs (back(:) - x(:))) <= tol, "%s: matrix, %d levels: %.3g", names{i}, L, max (abs (back(:) - x(:))));
  end
  for L = [1 4 7]
    back = wavelet_synthesis (wavelet_analysis (v, h0, h1, L), g0, g1, L);
    assert (max (abs (back - v)) <= tol, "%s: row, %d levels", names{i}, L);
    back = wavelet_synthesis (wavelet_analysis (v', h0', h1', L), g0', g1', L);
    assert (max (abs (back - v')) <= tol, "%s: column, %d levels", names{i}, L);
  end
end
