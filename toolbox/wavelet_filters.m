function [h0, h1, g0, g1] = wavelet_filters (name)
  % WAVELET_FILTERS  Orthonormal analysis and synthesis filter pairs.
  %
  %   [H0, H1, G0, G1] = wavelet_filters (NAME)
  %   NAMES = wavelet_filters ()
  %
  %   Returns the filter bank NAME as four row vectors of K taps:
  %     H0, H1  analysis pair for wavelet_analysis (low band, high band);
  %     G0, G1  synthesis pair for wavelet_synthesis.
  %   H1(m) = (-1)^m * H0(K-1-m) (0-based), and G0, G1 are H0, H1 reversed, so
  %   that wavelet_synthesis (wavelet_analysis (X, H0, H1, L), G0, G1, L)
  %   gives X back, up to rounding and with no shift.  sum (H0) = sqrt (2),
  %   sum (H0 .^ 2) = 1 and H0 is orthogonal to its own shifts by 2, 4, ...
  %   With no argument, returns the names known, as a cell array.
  %
  %   NAME (case-insensitive):
  %     "haar", "db1"       the 2-tap Haar pair.
  %     "db1" ... "db10"    Daubechies, N = 1 ... 10 vanishing moments,
  %                         K = 2N taps, minimum phase (extremal phase).
  %     "sym2" ... "sym10"  Symlets, N vanishing moments, K = 2N taps: the
  %                         same magnitude response as dbN, phase closest to
  %                         linear (see below).  sym2 and sym3 equal db2, db3.
  %   H1 has N vanishing moments: sum over k of k^p * H1(k) is 0 for p < N.
  %
  %   How the taps are computed (nothing is tabulated).  An orthonormal
  %   low-pass filter with N zeros at z = -1 has
  %     H0(z) = sqrt(2) * ((1 + z^-1) / 2)^N * Q(z),
  %     |Q(e^iw)|^2 = P(y) = sum_{k=0}^{N-1} nchoosek (N-1+k, k) * y^k,
  %   y = sin^2 (w/2).  Each root y of P gives the reciprocal pair of zeros z,
  %   1/z of z + 1/z = 2 - 4y; Q takes one zero of every pair (a complex pair
  %   of roots y is decided together, so that the taps stay real).
  %     dbN:  every zero of Q inside the unit circle.
  %     symN: of all 2^G choices (G the number of real roots y plus the number
  %           of complex-conjugate pairs), the one whose phase is closest to
  %           linear: with phi(w) the unwrapped phase of Q(e^iw), 0 at w = 0,
  %           on a grid of w over (0, pi) and a the least-squares slope of
  %           phi(w) ~ a w, the smallest max_w |phi(w) - a w|.  A choice and
  %           its mirror image (every zero replaced by its reciprocal: the
  %           taps reversed) deviate alike; of the two, the one whose tap
  %           energy centre sum_k k * H0(k)^2 lies earlier is taken, as for
  %           dbN.  This rule gives the published Symlet values.
  %   The roots y are Newton-polished on P, the zeros of Q taken from them in
  %   the well-conditioned form, and the taps of Q finally Newton-refined on
  %   the orthonormality equations themselves (the zeros at z = -1 are kept
  %   exact by construction), so orthonormality holds to about 1e-16 even
  %   for 20 taps.
  %
  %   Coiflets are not offered: their design equations (vanishing moments of
  %   the scaling function as well) are not a spectral factorisation of P.
  %
  %   Example:
  %     [h0, h1, g0, g1] = wavelet_filters ("sym4");
  %     x = rand (64);
  %     y = wavelet_synthesis (wavelet_analysis (x, h0, h1, 3), g0, g1, 3);
  %     max (abs (y(:) - x(:)))    % about 1e-15
  %
  %   See also wavelet_analysis, wavelet_synthesis, cyclic_split, cyclic_merge.
  if (nargin == 0)
    h0 = [{"haar"}, arrayfun(@(n) sprintf ("db%d", n), 1:10, "UniformOutput", false), ...
          arrayfun(@(n) sprintf ("sym%d", n), 2:10, "UniformOutput", false)];
    return;
  end
  if (! ischar (name))
    error ("wavelet_filters: NAME must be a string such as 'db4' or 'sym8'");
  end
  [family, N] = parse_name (lower (name(:).'));
  h0 = lowpass (N, family);
  K = numel (h0);
  h1 = (-1) .^ (0:K-1) .* fliplr (h0);
  g0 = fliplr (h0);
  g1 = fliplr (h1);
end

function [family, N] = parse_name (name)
  family = "";
  N = NaN;
  tok = regexp (name, '^(db|sym)(\d+)$', "tokens", "once");
  if (strcmp (name, "haar"))
    family = "db";
    N = 1;
  elseif (! isempty (tok))
    family = tok{1};
    N = str2double (tok{2});
  end
  lowest = 1 + strcmp (family, "sym");
  if (isempty (family) || N < lowest || N > 10)
    error ("wavelet_filters: unknown filter bank '%s' (use 'haar', 'db1' ... 'db10' or 'sym2' ... 'sym10')", name);
  end
end

function h = lowpass (N, family)
  groups = zero_groups (N);
  G = numel (groups);
  if (strcmp (family, "db") || G == 0)
    q = build_q (groups, false (1, G));
  else
    % Half of the choices: the first group stays inside; the mirror image of
    % the winner is considered after the search.
    best = Inf;
    w = linspace (0, pi, 1025)(2:end-1);
    for bits = 0:2^(G-1)-1
      flip = [false, bitand(bits, 2 .^ (0:G-2)) > 0];
      cand = build_q (groups, flip);
      % sign (sum (cand)) makes the phase start at 0 at w = 0.
      resp = sign (sum (cand)) * polyval (cand, exp (1i * w));
      phase = unwrap (angle (resp));
      dev = max (abs (phase - (phase / w) * w));
      if (dev < best - 1e-9)
        best = dev;
        q = cand;
      end
    end
  end
  h = refine (q, N);
  k = 0:numel (h) - 1;
  mirror = fliplr (h);
  if (strcmp (family, "sym") && sum (k .* mirror .^ 2) < sum (k .* h .^ 2))
    h = mirror;
  end
end

function groups = zero_groups (N)
  % The zero pairs of Q, one group per real root y and per complex pair of
  % roots y: each group lists its zeros inside the unit circle.
  p = arrayfun (@(k) nchoosek (N - 1 + k, k), N-1:-1:0);
  groups = {};
  if (N == 1)
    return;
  end
  ys = roots (p).';
  dp = polyder (p);
  for i = 1:numel (ys)
    % Newton steps on P polish each root to full accuracy.
    y = ys(i);
    for it = 1:5
      step = polyval (p, y) / polyval (dp, y);
      y -= step;
      if (abs (step) <= eps * abs (y))
        break;
      end
    end
    ys(i) = y;
  end
  tol = 1e-10 * max (1, abs (ys));
  real_y = abs (imag (ys)) <= tol;
  for y = real (ys(real_y))
    groups{end+1} = inside_zero (y);
  end
  for y = ys(! real_y & imag (ys) > 0)
    z = inside_zero (y);
    groups{end+1} = [z, conj(z)];
  end
end

function z = inside_zero (y)
  % Of z + 1/z = 2c, c = 1 - 2y, the zero inside the unit circle, computed
  % as 1 / (the larger zero) so that no digits cancel.
  c = 1 - 2 * y;
  s = sqrt (c * c - 1);
  if (real (conj (c) * s) < 0)
    s = -s;
  end
  z = 1 / (c + s);
end

function q = build_q (groups, flip)
  z = zeros (1, 0);
  for g = 1:numel (groups)
    if (flip(g))
      z = [z, 1 ./ groups{g}];
    else
      z = [z, groups{g}];
    end
  end
  q = real (poly (z));
end

function h = refine (q, N)
  % The spectral factor h = conv (q, binomial taps of (1 + z^-1)^N) loses
  % digits to cancellation for large N.  Newton steps on h itself solve the
  % 2N equations that define it:
  %   sum_k h(k) h(k+2m) = delta(m),            m = 0 .. N-1,
  %   sum_k (-1)^k T_p(t_k) h(k) = 0,           p = 0 .. N-1,
  % the second set being the N-fold zero at z = -1, written with Chebyshev
  % polynomials T_p of t_k = (2k - K + 1) / (K - 1) so that it is well
  % conditioned.  The residuals are formed from h directly.
  b = arrayfun (@(k) nchoosek (N, k), 0:N);
  h = conv (q, b);
  h = h / sum (h) * sqrt (2);
  K = 2 * N;
  k = 0:K-1;
  t = (2 * k - K + 1) / max (K - 1, 1);
  T = zeros (N, K);
  T(1, :) = 1;
  if (N > 1)
    T(2, :) = t;
  end
  for p = 3:N
    T(p, :) = 2 * t .* T(p-1, :) - T(p-2, :);
  end
  A = T .* (-1) .^ k;
  for it = 1:8
    r = zeros (K, 1);
    J = zeros (K, K);
    for m = 0:N-1
      r(m+1) = sum (h(1:K-2*m) .* h(1+2*m:K)) - (m == 0);
      J(m+1, 1:K-2*m) += h(1+2*m:K);
      J(m+1, 1+2*m:K) += h(1:K-2*m);
    end
    r(N+1:K) = A * h.';
    J(N+1:K, :) = A;
    step = (J \ r).';
    h -= step;
    if (max (abs (step)) <= 4 * eps)
      break;
    end
  end
  if (sum (h) < 0)
    h = -h;
  end
end

%!test
%! for name = wavelet_filters ()
%!   [h0, h1, g0, g1] = wavelet_filters (name{1});
%!   K = numel (h0);
%!   for m = 0:K/2-1
%!     assert (sum (h0(1:K-2*m) .* h0(1+2*m:K)), double (m == 0), 1e-15);
%!   end
%!   assert (sum (h0), sqrt (2), 1e-15);
%!   assert (sum (h1), 0, 1e-15);
%!   assert (g0, fliplr (h0));
%!   assert (g1, fliplr (h1));
%! end
%!assert (wavelet_filters ("db2"), [1+sqrt(3), 3+sqrt(3), 3-sqrt(3), 1-sqrt(3)] / (4 * sqrt (2)), 2 * eps)
%!assert (wavelet_filters ("sym3"), wavelet_filters ("db3"))
%!error <unknown filter bank 'coif1'> wavelet_filters ("coif1")
