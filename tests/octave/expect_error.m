function expect_error (call, ending)
  % EXPECT_ERROR  Assert that CALL (a function handle) raises an error whose
  % message ends with ENDING.  The host puts the plug-in's name in front.
  try
    call ();
  catch err
    msg = err.message;
    ok = numel (msg) >= numel (ending) && strcmp (msg(end-numel (ending)+1:end), ending);
    assert (ok, "expected an error ending '%s', got '%s'", ending, msg);
    return;
  end
  error ("expected an error ending '%s', but the call returned", ending);
end
