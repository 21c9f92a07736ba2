function status = check_every_sample_written (poisoned_dir, reference_dir)
  % CHECK_EVERY_SAMPLE_WRITTEN  The Octave-native plug-ins create their results
  % without zero-fill, so every sample must be written by the core.  The
  % plug-ins in POISONED_DIR start every result as a signalling NaN with a
  % known payload; for each plug-in and shape class (matrix, row, column,
  % 1 x 1, empty, copy-only level counts, odd splits, filters longer than the
  % line, results of several MiB) the result must hold none of it, quiet or
  % not, and equal bit for bit the result of the zero-filling plug-ins in
  % REFERENCE_DIR.  Returns 0 when every case passes.
  lo = [1+sqrt(3), 3+sqrt(3), 3-sqrt(3), 1-sqrt(3)] / (4 * sqrt (2));
  hi = lo(end:-1:1) .* [1 -1 1 -1];
  haar = [1 1] / sqrt (2);
  f1 = [0.25 -1 0.5 2 0.125];
  f2 = [3 -0.5 1 0.75 -2];
  m = rand (16, 24) - 0.5;
  cases = {
    % wavelet_analysis: matrix, row, column, 1 x 1, empties, L = 0, odd splits
    "wavelet_analysis", {m, lo, hi, 3}
    "wavelet_analysis", {m(1, :), lo, hi, 3}
    "wavelet_analysis", {m(:, 1), lo, hi, 4}
    "wavelet_analysis", {pi, lo, hi, 2}
    "wavelet_analysis", {zeros(0, 8), lo, hi, 3}
    "wavelet_analysis", {zeros(8, 0), lo, hi, 3}
    "wavelet_analysis", {[], lo, hi, 0}
    "wavelet_analysis", {m, lo, hi, 0}
    "wavelet_analysis", {m(1:12, 1:20), lo, hi, 2}      % 12 -> 6 -> 3, 20 -> 10 -> 5
    "wavelet_analysis", {m(1:6, 1:6), lo, hi, 1}        % halves of 3
    "wavelet_analysis", {m(1:2, 1:4), [lo lo], [hi hi], 1} % filter longer than the line
    % wavelet_synthesis: the same classes, plus the level counts that copy
    "wavelet_synthesis", {m, lo, hi, 3}
    "wavelet_synthesis", {m(1, :), lo, hi, 3}
    "wavelet_synthesis", {m(:, 1), lo, hi, 4}
    "wavelet_synthesis", {pi, lo, hi, 2}
    "wavelet_synthesis", {zeros(0, 8), lo, hi, 3}
    "wavelet_synthesis", {zeros(8, 0), lo, hi, 3}
    "wavelet_synthesis", {[], lo, hi, 0}
    "wavelet_synthesis", {m, lo, hi, 0}
    "wavelet_synthesis", {m, lo, hi, -2}
    "wavelet_synthesis", {m, lo, hi, NaN}
    "wavelet_synthesis", {m, lo, hi, 1024}
    "wavelet_synthesis", {m(1:12, 1:20), lo, hi, 2}
    "wavelet_synthesis", {m(1:6, 1:6), haar, haar, 1}
    "wavelet_synthesis", {m(1:2, 1:4), [lo lo], [hi hi], 1}
    % the circular filters: matrix, row, column, 1 x 1, empties, K = 1,
    % odd sizes, filters longer than the line
    "cyclic_split", {m, f1, f2}
    "cyclic_split", {m(1, :), f1, f2}
    "cyclic_split", {m(:, 1), f1, f2}
    "cyclic_split", {pi, f1, f2}
    "cyclic_split", {zeros(0, 5), f1, f2}
    "cyclic_split", {zeros(5, 0), f1, f2}
    "cyclic_split", {m, 2, 3}
    "cyclic_split", {m(1:7, 1:3), f1, f2}
    "cyclic_merge", {m, f1, f2}
    "cyclic_merge", {m(1, :), f1, f2}
    "cyclic_merge", {m(:, 1), f1, f2}
    "cyclic_merge", {pi, f1, f2}
    "cyclic_merge", {zeros(0, 5), f1, f2}
    "cyclic_merge", {zeros(5, 0), f1, f2}
    "cyclic_merge", {m, 2, 3}
    "cyclic_merge", {m(1:7, 1:3), f1, f2}
    % results of many whole 2 MiB pages, which the plug-ins ask the system
    % to back with huge pages
    "wavelet_analysis", {rand(1, 2^20) - 0.5, lo, hi, 3}
    "cyclic_merge", {rand(1000, 600) - 0.5, f1, f2}
  };
  poisoned = run_all (poisoned_dir, cases);
  reference = run_all (reference_dir, cases);
  pattern = uint64 (0x7FF00000DEADBEEF);
  quiet_bit = uint64 (0x0008000000000000);
  failed = 0;
  for i = 1:rows (cases)
    bits = typecast (poisoned{i}(:), "uint64");
    unwritten = sum (bitand (bits, bitcmp (quiet_bit)) == pattern);
    same = isequal (size (poisoned{i}), size (reference{i})) ...
           && all (bits == typecast (reference{i}(:), "uint64"));
    if (unwritten > 0 || ! same)
      failed++;
      printf ("FAIL %s on %s: %d unwritten samples, %s the zero-filled result\n", cases{i, 1}, ...
              mat2str (size (cases{i, 2}{1})), unwritten, ifelse_text (same, "equals", "differs from"));
    end
  end
  printf ("%d cases, %d failed\n", rows (cases), failed);
  status = double (failed > 0);
end

function results = run_all (plugin_dir, cases)
  % Octave picks up the plug-ins of the folder just added to the path.
  addpath (plugin_dir);
  unwind_protect
    results = cell (rows (cases), 1);
    for i = 1:rows (cases)
      assert (strcmp (fileparts (which (cases{i, 1})), plugin_dir), "%s is not taken from %s", cases{i, 1}, plugin_dir);
      results{i} = feval (cases{i, 1}, cases{i, 2}{:});
    end
  unwind_protect_cleanup
    rmpath (plugin_dir);
  end_unwind_protect
end

function text = ifelse_text (condition, yes, no)
  if (condition)
    text = yes;
  else
    text = no;
  end
end
