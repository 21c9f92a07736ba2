function same_bits (got, want)
  % SAME_BITS  Assert equal size, class double, and identical bits.
  assert (isa (got, "double") && isreal (got) && ! issparse (got), "not a real full double");
  assert (size (got), size (want));
  assert (all (typecast (got(:), "uint64") == typecast (double (want(:)), "uint64")),
          "values differ: got %s, want %s", mat2str (got, 17), mat2str (want, 17));
end
