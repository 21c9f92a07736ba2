function status = build_plugins_test (toolbox, reference, fast)
% Builds every plug-in with toolbox/build_plugins.m into a temporary folder
% and requires, from each plug-in, the result of the CMake-built one in
% REFERENCE, bit for bit (same compiler, same flags), on a fixed call.
% FAST false builds without the SIMD kernels, as the CMake build with
% -DPLUGINS_FAST_KERNELS=OFF does.
  status = 1;
  if (nargin < 3)
    fast = true;
  end
  out = tempname ();
  cleanup = onCleanup (@() remove_folder (out));
  addpath (toolbox);
  names = build_plugins (out, fast);
  kind = {'without the kernels', 'with the kernels'}{fast + 1};
  assert (numel (names) >= 1);
  s = 1 / sqrt (2);
  X = reshape (mod ((1:64) * 37, 23) - 11.5, 8, 8) / 3;
  calls.wavelet_analysis = {X, [s s], [s -s], 2};
  calls.wavelet_synthesis = {X, [s s], [s -s], 2};
  calls.cyclic_split = {X, [0.25 0.5 0.125], [1 -2 0.75]};
  calls.cyclic_merge = {X, [0.25 0.5 0.125], [1 -2 0.75]};
  for i = 1:numel (names)
    name = names{i};
    assert (exist (fullfile (out, [name '.' mexext()]), 'file') == 3, ['not built: ' name]);
    assert (exist (fullfile (out, [name '.m']), 'file') == 2, ['no help file: ' name]);
    if (~isfield (calls, name))
      continue;
    end
    args = calls.(name);
    theirs = call_from (reference, name, args);
    ours = call_from (out, name, args);
    assert (isequal (size (ours), size (X)));
    assert (isequal (typecast (ours(:), 'uint64'), typecast (theirs(:), 'uint64')), ...
            ['results differ: ' name]);
    printf ('%s: built in Octave %s, same bits as the CMake build\n', name, kind);
  end
  status = 0;
end

function y = call_from (folder, name, args)
  % The plug-in of that name in FOLDER, not one loaded before from elsewhere.
  here = pwd ();
  clear (name);
  cd (folder);
  try
    y = feval (name, args{:});
  catch err
    cd (here);
    rethrow (err);
  end
  cd (here);
  clear (name);
end

function remove_folder (folder)
  confirm_recursive_rmdir (false);
  rmdir (folder, 's');
end
