function ok = periodicwavelets_selftest ()
  % PERIODICWAVELETS_SELFTEST  Check that the periodicwavelets package works here.
  %
  %   periodicwavelets_selftest ()
  %   OK = periodicwavelets_selftest ()
  %
  %   Checks that every plug-in the package lists (plugins.txt beside this
  %   file) loads and has its help text, that the plug-ins give known values, that analysis
  %   and synthesis with every filter bank of wavelet_filters restore random
  %   matrices and vectors, and that the help texts are found.  Prints one
  %   line and returns true; raises an error naming the first failed check.
  %   pkg test periodicwavelets runs this and the other built-in tests.
  %
  %   See also wavelet_filters, wavelet_analysis, wavelet_synthesis.
  plugins = package_plugins ();
  for i = 1:numel (plugins)
    if (exist (plugins{i}) != 3)
      error ("periodicwavelets_selftest: plug-in %s not found (pkg load periodicwavelets?)", plugins{i});
    end
    text = get_help_text (plugins{i});
    if (isempty (strfind (text, [plugins{i} " ("])))
      error ("periodicwavelets_selftest: no help text for %s", plugins{i});
    end
  end
  check (isequal (cyclic_merge ([1 2 3; 4 5 6], [1 10], [0 1]), [63 41 52; 36 14 25]), "cyclic_merge example");
  check (isequal (cyclic_split ([1 2 3; 4 5 6], [1 0], [1 0]), [5 6 4; 2 3 1]), "cyclic_split example");
  check (isequal (wavelet_analysis ([1 2 3 4], [1 1], [1 -1], 1), [3 7 1 1]), "wavelet_analysis example");
  check (isequal (wavelet_synthesis ([1 2; 3 4], [1 1], [1 -1], 1), [10 -2; -4 0]), "wavelet_synthesis example");
  try
    wavelet_analysis (ones (6, 4), [1 1], [1 -1], 2);
    check (false, "wavelet_analysis size check");
  catch err
    check (! isempty (strfind (err.message, "The matrix row dimension must be of size m*2^L")), ...
           "wavelet_analysis message");
  end
  state = rand ("state");
  rand ("state", 1);
  x = rand (32, 64);
  v = rand (1, 64);
  rand ("state", state);
  names = wavelet_filters ();
  for i = 1:numel (names)
    [h0, h1, g0, g1] = wavelet_filters (names{i});
    z = wavelet_synthesis (wavelet_analysis (x, h0, h1, 3), g0, g1, 3);
    check (max (abs (z(:) - x(:))) < 1e-13, ["matrix round trip with " names{i}]);
    z = wavelet_synthesis (wavelet_analysis (v', h0, h1, 4), g0, g1, 4);
    check (max (abs (z - v')) < 1e-13, ["column round trip with " names{i}]);
  end
  printf ("periodicwavelets: plug-ins, help texts and %d filter banks work\n", numel (names));
  if (nargout > 0)
    ok = true;
  end
end

function names = package_plugins ()
  % The plug-ins of the package's registry, plugins.txt beside this file.
  file = fullfile (fileparts (mfilename ("fullpath")), "plugins.txt");
  if (! exist (file, "file"))
    error ("periodicwavelets_selftest: the plug-in list %s is missing", file);
  end
  names = regexp (fileread (file), '(?m)^plugin[ \t]+(\S+)', "tokens");
  names = cellfun (@(t) t{1}, names, "UniformOutput", false);
  if (isempty (names))
    error ("periodicwavelets_selftest: no plug-in in %s", file);
  end
end

function check (condition, what)
  if (! condition)
    error ("periodicwavelets_selftest: %s failed", what);
  end
end

%!test
%! assert (periodicwavelets_selftest ());

%!assert (cyclic_merge (magic (4), 1, 1), magic (4))
%!assert (wavelet_synthesis (wavelet_analysis (1:8, [1 1]/sqrt(2), [1 -1]/sqrt(2), 3), [1 1]/sqrt(2), [-1 1]/sqrt(2), 3), 1:8, 1e-14)
%!error <There must be 4 input parameters!> wavelet_analysis (1, 2, 3)
%!error <There must be 3 input parameters!> cyclic_split (1, 2)
