function [h0, h1, g0, g1] = wavelet_filters (name)
  % WAVELET_FILTERS  Orthonormal analysis and synthesis filter pairs.
  %
  %   [H0, H1, G0, G1] = wavelet_filters (NAME)
  %
  %   NAME is "haar" or "dbN" (N = 1 ... 10 vanishing moments, 2N taps).
  %   H0, H1 are the analysis pair for wavelet_analysis and G0, G1 the
  %   synthesis pair for wavelet_synthesis: H1(m) = (-1)^m H0(K-1-m) (0-based)
  %   and G0, G1 are H0, H1 reversed, so that synthesis restores the input.
  %
  %   The Daubechies low-pass filter is computed by spectral factorisation:
  %   the minimum-phase square root of the half-band polynomial.
  %
  %   Example:
  %     [h0, h1, g0, g1] = wavelet_filters ("db4");
  %     x = rand (64);
  %     y = wavelet_synthesis (wavelet_analysis (x, h0, h1, 3), g0, g1, 3);
  %
  %   See also wavelet_analysis, wavelet_synthesis.
  name = lower (name);
  if (strcmp (name, "haar"))
    N = 1;
  elseif (numel (name) > 2 && strcmp (name(1:2), "db"))
    N = str2double (name(3:end));
  else
    N = NaN;
  end
  if (! (isscalar (N) && N >= 1 && N <= 10 && N == fix (N)))
    error ("wavelet_filters: unknown filter bank '%s' (use 'haar' or 'db1' ... 'db10')", name);
  end
  h0 = daubechies_lowpass (N);
  K = numel (h0);
  h1 = (-1) .^ (0:K-1) .* fliplr (h0);
  g0 = fliplr (h0);
  g1 = fliplr (h1);
end

function h = daubechies_lowpass (N)
  % |Q|^2 = P(y) with y = sin^2(w/2) and P(y) = sum_k C(N-1+k, k) y^k.
  p = arrayfun (@(k) nchoosek (N - 1 + k, k), N-1:-1:0);
  zr = zeros (1, 0);
  for y = roots (p).'
    % z + 1/z = 2 - 4y: keep the root inside the unit circle.
    r = roots ([1, -(2 - 4 * y), 1]);
    [~, i] = min (abs (r));
    zr(end+1) = r(i);
  end
  h = real (poly (zr));
  for i = 1:N
    h = conv (h, [1 1]);
  end
  h = h * sqrt (2) / sum (h);
end
