function built = build_plugins (outdir, fast)
% BUILD_PLUGINS  Compile the plug-ins with this host's own mex command.
%
%   build_plugins            builds into the folder of this file's sibling
%                            'plugins' (created when missing)
%   build_plugins (OUTDIR)   builds into OUTDIR
%   build_plugins (OUTDIR, FAST)  with FAST false, builds the reference cores
%                            only, without the SIMD kernels: the same results,
%                            only slower.  FAST is true by default, false with
%                            Microsoft's compiler, which lacks the GCC/Clang
%                            vector extensions the kernels are written with.
%   NAMES = build_plugins (...) returns the names of the plug-ins built.
%
% Runs in GNU Octave or MATLAB with a working C++ compiler set up for mex.
% The sources are found relative to this file (../gateways, ../core, ../host);
% the plug-in list and each plug-in's numeric core are read from
% ../CMakeLists.txt (PLUGINS and core_of_<name>).  Each build uses:
%   - optimisation on, and no contraction of a product and a sum into a fused
%     multiply-add (-ffp-contract=off; /fp:precise with Microsoft's compiler),
%     so that results are identical to the last bit with every build;
%   - in Octave, Octave's own mex.h (-DPLUGIN_HOST_OCTAVE);
%   - in MATLAB, our declarations by MATLAB's symbol names and the 32-bit
%     array-dimension interface (-compatibleArrayDims).
% Kernels for a wider instruction set (core/fast/*_avx2.cpp, *_avx512.cpp)
% are compiled with that set enabled, each source on its own; the plug-in
% uses them only on processors that have them.  Without the kernels every
% source is compiled with -DPLUGINS_FAST_KERNELS=0.
% The help file of each plug-in (help/<name>.m) is copied beside it.

  here = fileparts (mfilename ('fullpath'));
  top = fileparts (here);
  if (nargin < 1 || isempty (outdir))
    outdir = fullfile (here, 'plugins');
  end
  if (~exist (outdir, 'dir'))
    mkdir (outdir);
  end

  in_octave = exist ('OCTAVE_VERSION', 'builtin') ~= 0;
  msvc = ~in_octave && uses_msvc ();
  if (nargin < 2 || isempty (fast))
    fast = ~msvc;
  elseif (fast && msvc)
    error ('build_plugins: the fast kernels need GCC or Clang; call build_plugins (OUTDIR, false)');
  end
  if (fast)
    defines = {};
  else
    defines = {'-DPLUGINS_FAST_KERNELS=0'};
  end
  [names, cores] = plugin_list (fullfile (top, 'CMakeLists.txt'), fast);

  for i = 1:numel (names)
    name = names{i};
    sources = [{fullfile(top, 'gateways', [name '.cpp']), fullfile(top, 'gateways', 'checks.cpp')}, ...
               cellfun(@(f) fullfile (top, f), cores{i}, 'UniformOutput', false), ...
               {fullfile(top, 'core', 'scratch.cpp')}];
    fprintf ('building %s\n', name);
    if (in_octave)
      build_in_octave (top, outdir, name, sources, defines);
    else
      build_in_matlab (top, outdir, name, sources, defines, msvc);
    end
    help_file = fullfile (top, 'toolbox', 'help', [name '.m']);
    if (exist (help_file, 'file'))
      copyfile (help_file, fullfile (outdir, [name '.m']));
    end
  end
  if (nargout > 0)
    built = names;
  end
end

function build_in_octave (top, outdir, name, sources, defines)
  % mkoctfile takes its compiler flags from the environment; each source is
  % compiled on its own, with the extra instruction set its name asks for.
  old = getenv ('CXXFLAGS');
  restore = onCleanup (@() setenv ('CXXFLAGS', old));
  objdir = tempname ();
  mkdir (objdir);
  remove = onCleanup (@() remove_folder (objdir));
  objects = cell (size (sources));
  for k = 1:numel (sources)
    [~, base] = fileparts (sources{k});
    objects{k} = fullfile (objdir, sprintf ('%02d_%s.o', k, base));
    setenv ('CXXFLAGS', ['-O2 -std=c++17 -ffp-contract=off -fvisibility=hidden ' isa_flags(sources{k}, false)]);
    mex ('-c', '-DPLUGIN_HOST_OCTAVE', defines{:}, ['-I' top], sources{k}, '-o', objects{k});
  end
  mex ('-o', fullfile (outdir, [name '.' mexext()]), objects{:});
end

function build_in_matlab (top, outdir, name, sources, defines, msvc)
  objdir = tempname ();
  mkdir (objdir);
  remove = onCleanup (@() remove_folder (objdir));
  objects = {};
  for k = 1:numel (sources)
    if (msvc)
      flags = {['COMPFLAGS=$COMPFLAGS /std:c++17 /fp:precise ' isa_flags(sources{k}, true)], ...
               'OPTIMFLAGS=/O2 /DNDEBUG'};
    else
      flags = {['CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off -fvisibility=hidden ' isa_flags(sources{k}, false)], ...
               'CXXOPTIMFLAGS=-O2 -DNDEBUG'};
    end
    sub = fullfile (objdir, sprintf ('%02d', k));
    mkdir (sub);
    mex ('-c', '-O', '-compatibleArrayDims', flags{:}, defines{:}, ['-I' top], '-outdir', sub, sources{k});
    found = [dir(fullfile (sub, '*.o')); dir(fullfile (sub, '*.obj'))];
    objects{end+1} = fullfile (sub, found(1).name);
  end
  mex ('-O', '-compatibleArrayDims', '-outdir', outdir, '-output', name, objects{:});
end

function msvc = uses_msvc ()
  % Whether MATLAB's mex is set up with Microsoft's compiler.
  cc = mex.getCompilerConfigurations ('C++', 'Selected');
  msvc = ~isempty (cc) && ~isempty (strfind (lower (cc.ShortName), 'msvc'));
end

function flags = isa_flags (source, msvc)
  % Kernels for a wider instruction set are compiled for it alone; the
  % plug-in picks them at run time only where the processor has them.
  flags = '';
  if (~isempty (regexp (source, '_avx2\.cpp$', 'once')))
    flags = ifelse_ (msvc, '/arch:AVX2', '-mavx2');
  elseif (~isempty (regexp (source, '_avx512\.cpp$', 'once')))
    flags = ifelse_ (msvc, '/arch:AVX512', '-mavx512f');
  end
end

function v = ifelse_ (c, a, b)
  if (c)
    v = a;
  else
    v = b;
  end
end

function remove_folder (folder)
  if (exist ('confirm_recursive_rmdir', 'builtin') || exist ('confirm_recursive_rmdir', 'file'))
    confirm_recursive_rmdir (false);
  end
  rmdir (folder, 's');
end

function [names, cores] = plugin_list (cmakelists, fast)
  % The PLUGINS list (set and list(APPEND ...) lines) and each core_of_<name>.
  text = fileread (cmakelists);
  names = {};
  tok = regexp (text, 'set\(PLUGINS\s+([^)]*)\)', 'tokens');
  for k = 1:numel (tok)
    names = strsplit (strtrim (tok{k}{1}));
  end
  tok = regexp (text, 'list\(APPEND\s+PLUGINS\s+([^)]*)\)', 'tokens');
  for k = 1:numel (tok)
    names = [names, strsplit(strtrim (tok{k}{1}))];
  end
  names = names(~cellfun (@isempty, names));
  cores = cell (size (names));
  for i = 1:numel (names)
    tok = regexp (text, ['set\(core_of_' names{i} '\s+([^)]*)\)'], 'tokens', 'once');
    if (isempty (tok))
      error ('build_plugins: no core_of_%s in %s', names{i}, cmakelists);
    end
    cores{i} = expand (strsplit (strtrim (tok{1})), fileparts (cmakelists), fast);
  end
end

function files = expand (items, top, fast)
  % A ${fast_<kind>_sources} entry stands for the fast kernels of that kind:
  % core/fast/isa.cpp and core/fast/<kind>_<isa>.cpp, the wider instruction
  % sets on x86-64 only, and without the kernels isa.cpp alone (as
  % cmake/FastKernels.cmake has it).
  x86 = ~isempty (regexp (computer ('arch'), '(x86_64|glnxa64|win64|maci64)', 'once'));
  files = {};
  for k = 1:numel (items)
    tok = regexp (items{k}, '^\$\{fast_(\w+)_sources\}$', 'tokens', 'once');
    if (isempty (tok))
      files{end+1} = items{k};
      continue;
    end
    files{end+1} = 'core/fast/isa.cpp';
    if (~fast)
      continue;
    end
    found = dir (fullfile (top, 'core', 'fast', [tok{1} '_*.cpp']));
    for f = 1:numel (found)
      if (x86 || ~isempty (regexp (found(f).name, '_baseline\.cpp$', 'once')))
        files{end+1} = ['core/fast/' found(f).name];
      end
    end
  end
end
