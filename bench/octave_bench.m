function octave_bench (out_file, sides, samples)
  % OCTAVE_BENCH  End-to-end times of the plug-ins in Octave and of the peers.
  %
  %   octave_bench (OUT_FILE, SIDES, SAMPLES)
  %
  %   For every n in SIDES, on an n x n matrix of random doubles with the
  %   8-tap Daubechies pair (K = 8, 3 levels): each plug-in, the no-op
  %   plug-in (build/plugins-bench/noop_plugin.mex: only returns a matrix of
  %   the input's size), a copy of the matrix, and the circular peers conv2 on
  %   a periodically padded copy (separable, 'valid') and
  %   real (ifft2 (fft2 (x) .* fft2 (h, m, n))).  Each time is the median of
  %   SAMPLES samples, a sample repeating the call enough to last >= 50 ms.
  %   The plug-ins and noop_plugin must be on the path.  Writes JSON.
  if (nargin < 3)
    samples = 5;
  end
  [h0, h1, g0, g1] = wavelet_filters ("db4");
  K = numel (h0);
  L = 3;
  check = check_peers (h0, h1, K);
  rows = {};
  for n = sides
    rand ("seed", 1);
    x = 2 * rand (n) - 1;
    y = wavelet_analysis (x, h0, h1, L);
    r = struct ("side", n, "taps", K, "levels", L);
    r.wavelet_analysis = median_time (@() wavelet_analysis (x, h0, h1, L), samples);
    r.wavelet_synthesis = median_time (@() wavelet_synthesis (y, g0, g1, L), samples);
    r.cyclic_split = median_time (@() cyclic_split (x, h0, h1), samples);
    r.cyclic_merge = median_time (@() cyclic_merge (x, h0, h1), samples);
    r.noop_plugin = median_time (@() noop_plugin (x, h0, h1, L), samples);
    r.copy = median_time (@() touched_copy (x), samples);
    r.conv2_split = median_time (@() conv2_split (x, h0, h1, K), samples);
    r.conv2_merge = median_time (@() conv2_merge (x, h0, h1, K), samples);
    r.fft2_circular = median_time (@() fft2_circular (x, h0, h1), samples);
    printf ("octave %dx%d: analysis %.2f ms, synthesis %.2f ms, split %.2f ms, merge %.2f ms, no-op %.2f ms, copy %.2f ms, conv2 %.2f / %.2f ms, fft2 %.2f ms\n", n, n, 1e3 * [r.wavelet_analysis, r.wavelet_synthesis, r.cyclic_split, r.cyclic_merge, r.noop_plugin, r.copy, r.conv2_split, r.conv2_merge, r.fft2_circular]);
    fflush (stdout);
    rows{end+1} = r;
  end
  result = struct ("octave_version", OCTAVE_VERSION, "check", check);
  result.results = rows;
  fid = fopen (out_file, "w");
  fputs (fid, jsonencode (result));
  fclose (fid);
end

function t = median_time (f, samples)
  f ();                                   % warm up (loads the plug-in, faults pages in)
  tic; f (); once = toc;
  repeat = max (1, ceil (0.05 / max (once, 1e-6)));
  times = zeros (1, samples);
  for s = 1:samples
    tic;
    for i = 1:repeat
      f ();
    end
    times(s) = toc / repeat;
  end
  t = median (times);
end

function y = touched_copy (x)
  % A full copy of x: writing one element forces the copy-on-write.
  y = x;
  y(1) = -y(1);
end

% The peers compute what the plug-ins compute, only otherwise.
function y = conv2_split (x, f1, f2, K)
  xp = [x; x(1:K-1, :)];
  xp = [xp, xp(:, 1:K-1)];
  y = conv2 (f1(:), f2(:).', xp, "valid");
end

function y = conv2_merge (x, f1, f2, K)
  xp = [x(end-K+2:end, :); x];
  xp = [xp(:, end-K+2:end), xp];
  y = conv2 (f1(:), f2(:).', xp, "valid");
end

function y = fft2_circular (x, f1, f2)
  % The circular convolution (cyclic_merge); cyclic_split is the same result
  % shifted circularly by K - 1 in both directions: the same work.
  [m, n] = size (x);
  y = real (ifft2 (fft2 (x) .* fft2 (f1(:) * f2(:).', m, n)));
end

function c = check_peers (f1, f2, K)
  % Largest differences between the plug-ins and the peers on a small case.
  rand ("seed", 2);
  x = rand (64, 48);
  merge = cyclic_merge (x, f1, f2);
  split = cyclic_split (x, f1, f2);
  viafft = fft2_circular (x, f1, f2);
  c = struct ();
  c.conv2_split = max (abs (split(:) - reshape (conv2_split (x, f1, f2, K), [], 1)));
  c.conv2_merge = max (abs (merge(:) - reshape (conv2_merge (x, f1, f2, K), [], 1)));
  c.fft2_merge = max (abs (merge(:) - viafft(:)));
  shifted = circshift (viafft, [-(K-1), -(K-1)]);
  c.fft2_split = max (abs (split(:) - shifted(:)));
  printf ("peer check (max abs difference): conv2 %.1e / %.1e, fft2 %.1e / %.1e\n", c.conv2_split, c.conv2_merge, c.fft2_merge, c.fft2_split);
end
