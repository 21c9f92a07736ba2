function post_install (desc)
  % Run by pkg install once the files are in place.  pkg puts the compiled
  % plug-ins (.oct) into the architecture folder and every .m file into the
  % package folder.  Octave reads the help of a .oct from the binary (it is
  % compiled in); the help files still move beside the plug-ins, the layout
  % of every folder of plug-ins.
  arch = fullfile (desc.archprefix, [__octave_config_info__("canonical_host_type"), ...
                                     "-", __octave_config_info__("api_version")]);
  plugins = dir (fullfile (arch, "*.oct"));
  if (isempty (plugins))
    error ("periodicwavelets: no plug-ins were built in %s", arch);
  end
  for i = 1:numel (plugins)
    [~, name] = fileparts (plugins(i).name);
    help_file = fullfile (desc.dir, [name ".m"]);
    if (exist (help_file, "file"))
      [ok, msg] = movefile (help_file, fullfile (arch, [name ".m"]));
      if (! ok)
        error ("periodicwavelets: cannot move %s: %s", help_file, msg);
      end
    end
  end
end
