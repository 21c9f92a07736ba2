function status = run_tests (plugin_dir, test_dir)
  % RUN_TESTS  Run every test_*.m script in TEST_DIR against the plug-ins in
  % PLUGIN_DIR (the .mex or the Octave-native .oct build).  Prints one line
  % per script; returns 0 only when at least one script ran and none failed.
  addpath (plugin_dir);
  addpath (test_dir);
  % Octave prefers a .oct to a .mex of the same name anywhere on the path:
  % make sure the plug-ins under test are the ones that run.
  binaries = [dir(fullfile (plugin_dir, "*.mex")); dir(fullfile (plugin_dir, "*.oct"))];
  if (isempty (binaries))
    printf ("no plug-ins in %s\n", plugin_dir);
    status = 1;
    return;
  end
  for b = binaries'
    [~, name] = fileparts (b.name);
    if (! strcmp (which (name), fullfile (plugin_dir, b.name)))
      printf ("%s runs from %s, not from %s\n", name, which (name), plugin_dir);
      status = 1;
      return;
    end
  end
  printf ("plug-ins: %s\n", strjoin (sort ({binaries.name}), " "));
  files = dir (fullfile (test_dir, "test_*.m"));
  names = sort ({files.name});
  failed = 0;
  for i = 1:numel (names)
    [~, name] = fileparts (names{i});
    try
      evalin ("base", name);
      printf ("PASS %s\n", name);
    catch err
      failed++;
      printf ("FAIL %s: %s\n", name, err.message);
      for s = err.stack(:)'
        printf ("    at %s line %d\n", s.name, s.line);
      end
    end
  end
  printf ("%d test scripts, %d failed\n", numel (names), failed);
  status = double (numel (names) == 0 || failed > 0);
end
