function octave_bench (out_file, sides, samples, mex_dir, oct_dir, build_sides)
  % OCTAVE_BENCH  End-to-end times of the plug-ins in Octave and of the peers.
  %
  %   octave_bench (OUT_FILE, SIDES, SAMPLES, MEX_DIR, OCT_DIR, BUILD_SIDES)
  %
  %   For every n in SIDES, on an n x n matrix of random doubles with the
  %   8-tap Daubechies pair (K = 8, 3 levels): each plug-in, the no-op
  %   plug-in (build/plugins-bench/noop_plugin.mex: only returns a matrix of
  %   the input's size), a copy of the matrix, and the circular peers conv2 on
  %   a periodically padded copy (separable, 'valid') and
  %   real (ifft2 (fft2 (x) .* fft2 (h, m, n))).  Each time is the median of
  %   SAMPLES samples, a sample repeating the call enough to last >= 50 ms.
  %   The plug-ins and noop_plugin must be on the path.
  %
  %   Then the per-call cost on small arrays: an 8 x 8 Haar call (L = 3) of
  %   each plug-in against noop_plugin taking the same arguments.
  %
  %   Then the two Octave builds of the plug-ins, the .mex files in MEX_DIR
  %   and the Octave-native .oct files in OCT_DIR, end to end at every n in
  %   BUILD_SIDES (db4, L = 3), each against its own no-op floor (noop_plugin,
  %   noop_oct).  Octave prefers a .oct to a .mex of the same name, so only one
  %   of the two folders is on the path while its build is timed.  Skipped
  %   (and said so in the JSON) when OCT_DIR holds no .oct plug-in.
  %   Writes JSON.
  if (nargin < 3)
    samples = 5;
  end
  if (nargin < 6)
    mex_dir = oct_dir = "";
    build_sides = [];
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
  result.haar8 = small_haar_calls (samples);
  [result.builds, result.builds_skipped] = compare_builds (mex_dir, oct_dir, build_sides, samples);
  fid = fopen (out_file, "w");
  fputs (fid, jsonencode (result));
  fclose (fid);
end

function r = small_haar_calls (samples)
  % The per-call cost: an 8 x 8 Haar call against the no-op taking the same arguments.
  [h0, h1, g0, g1] = wavelet_filters ("haar");
  rand ("seed", 3);
  x = 2 * rand (8) - 1;
  y = wavelet_analysis (x, h0, h1, 3);
  r = struct ("side", 8, "taps", 2, "levels", 3);
  r.wavelet_analysis = median_time (@() wavelet_analysis (x, h0, h1, 3), samples);
  r.wavelet_synthesis = median_time (@() wavelet_synthesis (y, g0, g1, 3), samples);
  r.cyclic_split = median_time (@() cyclic_split (x, h0, h1), samples);
  r.cyclic_merge = median_time (@() cyclic_merge (x, h0, h1), samples);
  r.noop_plugin_4 = median_time (@() noop_plugin (x, h0, h1, 3), samples);
  r.noop_plugin_3 = median_time (@() noop_plugin (x, h0, h1), samples);
  printf ("octave 8x8 Haar (us): analysis %.2f, synthesis %.2f, split %.2f, merge %.2f, no-op with 4 / 3 arguments %.2f / %.2f\n", 1e6 * [r.wavelet_analysis, r.wavelet_synthesis, r.cyclic_split, r.cyclic_merge, r.noop_plugin_4, r.noop_plugin_3]);
  fflush (stdout);
end

function [builds, skipped] = compare_builds (mex_dir, oct_dir, build_sides, samples)
  % Each plug-in's .oct build against its .mex build, end to end: those
  % of plugins.txt that have a call below.
  builds = {};
  skipped = "";
  names = registry_plugins ();
  present = cellfun (@(name) exist (fullfile (oct_dir, [name ".oct"]), "file") != 0, names);
  if (isempty (build_sides) || isempty (oct_dir) || ! any (present))
    skipped = sprintf ("no .oct build in %s", oct_dir);
    printf ("octave .oct against .mex: skipped (%s)\n", skipped);
    return;
  end
  [h0, h1, g0, g1] = wavelet_filters ("db4");
  L = 3;
  for n = build_sides
    rand ("seed", 1);
    x = 2 * rand (n) - 1;
    y = wavelet_analysis (x, h0, h1, L);
    calls = struct ("wavelet_analysis", @() wavelet_analysis (x, h0, h1, L), ...
                    "wavelet_synthesis", @() wavelet_synthesis (y, g0, g1, L), ...
                    "cyclic_split", @() cyclic_split (x, h0, h1), ...
                    "cyclic_merge", @() cyclic_merge (x, h0, h1));
    r = struct ("side", n, "taps", numel (h0), "levels", L, "mex", struct (), "oct", struct ());
    for build = {"oct", "mex"}
      kind = build{1};
      if (strcmp (kind, "oct"))
        use_only (oct_dir, mex_dir, names);
      else
        use_only (mex_dir, oct_dir, names);
      end
      for i = 1:numel (names)
        if ((strcmp (kind, "oct") && ! present(i)) || ! isfield (calls, names{i}))
          continue;
        end
        expect_from (names{i}, kind);
        r.(kind).(names{i}) = median_time (calls.(names{i}), samples);
      end
    end
    r.mex.noop = median_time (@() noop_plugin (x, h0, h1, L), samples);
    r.oct.noop = median_time (@() noop_oct (x, h0, h1, L), samples);
    printf ("octave %dx%d .mex / .oct (ms):", n, n);
    for name = [names, {"noop"}]
      if (isfield (r.oct, name{1}))
        printf (" %s %.3f / %.3f,", name{1}, 1e3 * r.mex.(name{1}), 1e3 * r.oct.(name{1}));
      end
    end
    printf ("\n");
    fflush (stdout);
    builds{end+1} = r;
  end
  use_only (mex_dir, oct_dir, names);
end

function use_only (keep, drop, names)
  % Only KEEP of the two build folders on the path; the loaded copies of the
  % plug-ins forgotten, so that the next call finds them anew.
  if (any (strcmp (strsplit (path (), pathsep ()), drop)))
    rmpath (drop);
  end
  addpath (keep);
  for i = 1:numel (names)
    clear (names{i});
  end
end

function expect_from (name, kind)
  where = which (name);
  [~, ~, ext] = fileparts (where);
  if (! strcmp (ext, ["." kind]))
    error ("octave_bench: %s resolves to '%s', not a .%s file", name, where, kind);
  end
end

function t = median_time (f, samples)
  % Calls slower than a quarter second (the peers at large sizes on a busy
  % machine) take at most 3 single-call samples, the first being the one
  % that sized the repetition.
  f ();                                   % warm up (loads the plug-in, faults pages in)
  tic; f (); once = toc;
  repeat = max (1, ceil (0.05 / max (once, 1e-6)));
  times = [];
  if (once > 0.25)
    samples = min (samples, 3);
    times = once;
  end
  while (numel (times) < samples)
    tic;
    for i = 1:repeat
      f ();
    end
    times(end+1) = toc / repeat;
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

function names = registry_plugins ()
  % The plug-in names of plugins.txt (its plugin lines), in its order.
  text = fileread (fullfile (fileparts (mfilename ("fullpath")), "..", "plugins.txt"));
  names = regexp (text, '(?m)^plugin[ \t]+(\S+)', "tokens");
  names = cellfun (@(t) t{1}, names, "UniformOutput", false);
end
