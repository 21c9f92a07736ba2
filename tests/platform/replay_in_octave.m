function status = replay_in_octave (plugin_dir, case_dir)
  % REPLAY_IN_OCTAVE  Replay recorded cases (case*.txt in CASE_DIR, written by
  % the replay runner) through the plug-ins in PLUGIN_DIR inside Octave: each
  % result must have the recorded size and bits (all NaNs alike), each error
  % must end with the recorded message (Octave puts "NAME: " in front).
  % Prints each failing case and a total; returns 0 only when every case passed.
  addpath (plugin_dir);
  files = dir (fullfile (case_dir, "case*.txt"));
  if (isempty (files))
    printf ("no cases in %s\n", case_dir);
    status = 1;
    return;
  end
  failed = 0;
  for f = files'
    c = read_case (fullfile (case_dir, f.name));
    problem = replay_one (c);
    if (! isempty (problem))
      failed++;
      printf ("FAIL %s (%s): %s\n", f.name, c.op, problem);
    end
  end
  printf ("replay in Octave (%s): %d passed, %d failed\n", plugin_dir,
          numel (files) - failed, failed);
  status = failed > 0;
end

function problem = replay_one (c)
  problem = "";
  try
    got = feval (c.op, c.args{:});
  catch err
    if (! c.expect_error)
      problem = ["unexpected error: " err.message];
    elseif (! ends_with (err.message, c.error))
      problem = sprintf ("error \"%s\", expected one ending \"%s\"", err.message, c.error);
    end
    return;
  end
  if (c.expect_error)
    problem = ["no error; expected: " c.error];
  elseif (! isequal (size (got), size (c.result)))
    problem = sprintf ("size %s, expected %s", mat2str (size (got)), mat2str (size (c.result)));
  elseif (! same_values (got, c.result))
    problem = "values differ";
  end
end

function yes = ends_with (text, tail)
  yes = numel (text) >= numel (tail) && strcmp (text(end - numel (tail) + 1:end), tail);
end

% Bit for bit, except that every NaN equals every other.
function yes = same_values (a, b)
  a = a(:); b = b(:);
  nan_a = isnan (a); nan_b = isnan (b);
  yes = isequal (nan_a, nan_b) && ...
        all (typecast (a(! nan_a), "uint64") == typecast (b(! nan_b), "uint64"));
end

function c = read_case (path)
  lines = strsplit (fileread (path), "\n", "CollapseDelimiters", false);
  c = struct ("op", "", "args", {{}}, "expect_error", false, "error", "", "result", []);
  k = 1;
  while (k <= numel (lines))
    line = lines{k};
    if (strncmp (line, "op ", 3))
      c.op = strtrim (line(4:end));
    elseif (strncmp (line, "arg ", 4))
      dims = sscanf (line(5:end), "%d")';
      k++;
      c.args{end + 1} = shaped (parse_values (lines{k}), dims);
    elseif (strncmp (line, "expect_error ", 13))
      c.expect_error = true;
      c.error = line(14:end);
    elseif (strncmp (line, "expect ", 7))
      dims = sscanf (line(8:end), "%d")';
      k++;
      c.result = shaped (parse_values (lines{k}), dims);
    end
    k++;
  end
end

function x = shaped (values, dims)
  if (numel (dims) < 2)
    dims(end + 1:2) = 1;
  end
  x = reshape (values, dims);
end

% C99 hexadecimal floats ("-0x1.8p+1", "0x0.0p+0"), "inf", "-inf", "nan":
% sign x (lead + fraction / 16^digits) x 2^exponent, every step exact.
function v = parse_values (line)
  words = strsplit (strtrim (line), " ");
  words = words(! cellfun (@isempty, words));
  v = zeros (1, numel (words));
  for i = 1:numel (words)
    w = words{i};
    switch (w)
      case "inf"
        v(i) = Inf;
      case "-inf"
        v(i) = -Inf;
      case "nan"
        v(i) = NaN;
      otherwise
        negative = w(1) == "-";
        w = w(1 + negative:end);
        p = find (w == "p", 1);
        if (numel (w) < 5 || ! strncmp (w, "0x", 2) || w(4) != "." || isempty (p))
          error ("replay_in_octave: unreadable value \"%s\"", words{i});
        end
        digits = w(5:p - 1);
        fraction = 0;
        if (! isempty (digits))
          fraction = hex2dec (digits) / 16 ^ numel (digits);
        end
        magnitude = pow2 (str2double (w(3)) + fraction, str2double (w(p + 1:end)));
        if (negative)
          v(i) = -magnitude;
        else
          v(i) = magnitude;
        end
    end
  end
end
