function expect_only_matrices (name, args, names)
  % EXPECT_ONLY_MATRICES  Assert that the plug-in NAME refuses an array of
  % more than two dimensions, zero-size pages included, in each argument
  % position of the valid call ARGS, with "NAME: argument <names{p}> must be
  % a vector or a matrix (<size> given)".
  f = str2func (name);
  arrays = {rand(8, 4, 2), rand(1, 1, 8), zeros(4, 4, 0), ones(2, 2, 1, 3)};
  shown = {"8x4x2", "1x1x8", "4x4x0", "2x2x1x3"};
  for p = 1:numel (args)
    for k = 1:numel (arrays)
      call = args;
      call{p} = arrays{k};
      expect_error (@() f (call{:}), sprintf ("%s: argument %s must be a vector or a matrix (%s given)", ...
                                            name, names{p}, shown{k}));
    end
  end
end
