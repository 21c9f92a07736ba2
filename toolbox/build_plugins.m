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
% the plug-ins, each one's numeric core and kernel family, and the flags of
% every build are read from ../plugins.txt.  Each build uses:
%   - optimisation on, and the flags of plugins.txt for this compiler (no
%     contraction of a product and a sum into a fused multiply-add, so that
%     results are identical to the last bit with every build);
%   - in Octave, Octave's own mex.h (-DPLUGIN_HOST_OCTAVE);
%   - in MATLAB, our declarations by MATLAB's symbol names and the 32-bit
%     array-dimension interface (-compatibleArrayDims).
% Kernels for a wider instruction set (core/fast/<family>_<set>.cpp, the isa
% lines of plugins.txt) are compiled with that set's flag, each source on its own; the plug-in
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
  registry = read_registry (fullfile (top, 'plugins.txt'));
  names = registry.names;
  cores = core_sources (registry, fast);

  for i = 1:numel (names)
    name = names{i};
    sources = [{fullfile(top, 'gateways', [name '.cpp']), fullfile(top, 'gateways', 'checks.cpp')}, ...
               cellfun(@(f) fullfile (top, f), cores{i}, 'UniformOutput', false), ...
               {fullfile(top, 'core', 'scratch.cpp')}];
    fprintf ('building %s\n', name);
    if (in_octave)
      build_in_octave (top, outdir, name, sources, defines, registry);
    else
      build_in_matlab (top, outdir, name, sources, defines, msvc, registry);
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

function build_in_octave (top, outdir, name, sources, defines, registry)
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
    setenv ('CXXFLAGS', ['-O2 -std=c++17 ' registry.flags.gnu ' ' isa_flag(registry, sources{k}, 'gnu')]);
    mex ('-c', '-DPLUGIN_HOST_OCTAVE', defines{:}, ['-I' top], sources{k}, '-o', objects{k});
  end
  mex ('-o', fullfile (outdir, [name '.' mexext()]), objects{:});
end

function build_in_matlab (top, outdir, name, sources, defines, msvc, registry)
  objdir = tempname ();
  mkdir (objdir);
  remove = onCleanup (@() remove_folder (objdir));
  objects = {};
  for k = 1:numel (sources)
    if (msvc)
      flags = {['COMPFLAGS=$COMPFLAGS /std:c++17 ' registry.flags.msvc ' ' isa_flag(registry, sources{k}, 'msvc')], ...
               'OPTIMFLAGS=/O2 /DNDEBUG'};
    else
      flags = {['CXXFLAGS=$CXXFLAGS -std=c++17 ' registry.flags.gnu ' ' isa_flag(registry, sources{k}, 'gnu')], ...
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

function flag = isa_flag (registry, source, compiler)
  % Kernels for a wider instruction set are compiled for it alone; the
  % plug-in picks them at run time only where the processor has them.
  flag = '';
  for k = 1:numel (registry.isas)
    isa = registry.isas(k);
    if (~isempty (regexp (source, ['_' isa.name '\.cpp$'], 'once')))
      flag = isa.(compiler);
    end
  end
end

function remove_folder (folder)
  if (exist ('confirm_recursive_rmdir', 'builtin') || exist ('confirm_recursive_rmdir', 'file'))
    confirm_recursive_rmdir (false);
  end
  rmdir (folder, 's');
end

function registry = read_registry (file)
  % plugins.txt: its plugin lines (name, core, kernel family), isa lines
  % (name, processor, GCC/Clang flag, MSVC flag) and flags lines (compiler,
  % flags), each a kind and its words; '#' starts a comment.
  registry = struct ('names', {{}}, 'cores', {{}}, 'kernels', {{}}, ...
                     'isas', struct ('name', {}, 'arch', {}, 'gnu', {}, 'msvc', {}), ...
                     'flags', struct ('gnu', '', 'msvc', ''));
  lines = strsplit (fileread (file), {sprintf('\n'), sprintf('\r')});
  for k = 1:numel (lines)
    words = regexp (regexprep (lines{k}, '#.*', ''), '\S+', 'match');
    if (isempty (words))
      continue;
    end
    switch (words{1})
      case 'plugin'
        registry.names{end+1} = words{2};
        registry.cores{end+1} = words{3};
        registry.kernels{end+1} = words{4};
      case 'isa'
        registry.isas(end+1) = struct ('name', words{2}, 'arch', words{3}, ...
                                       'gnu', words{4}, 'msvc', words{5});
      case 'flags'
        registry.flags.(words{2}) = strjoin (words(3:end), ' ');
    end
  end
  if (isempty (registry.names))
    error ('build_plugins: no plug-in in %s', file);
  end
end

function cores = core_sources (registry, fast)
  % Each plug-in's core and its kernel family's fast kernels:
  % core/fast/isa.cpp and core/fast/<family>_<set>.cpp for the baseline and
  % each wider set meant for this processor; without the kernels isa.cpp
  % alone (as cmake/FastKernels.cmake has it).
  x86 = ~isempty (regexp (computer ('arch'), '(x86_64|glnxa64|win64|maci64)', 'once'));
  sets = {'baseline'};
  for k = 1:numel (registry.isas)
    if (x86 && strcmp (registry.isas(k).arch, 'x86_64'))
      sets{end+1} = registry.isas(k).name;
    end
  end
  cores = cell (size (registry.names));
  for i = 1:numel (registry.names)
    files = {registry.cores{i}, 'core/fast/isa.cpp'};
    if (fast)
      for k = 1:numel (sets)
        files{end+1} = ['core/fast/' registry.kernels{i} '_' sets{k} '.cpp'];
      end
    end
    cores{i} = files;
  end
end
