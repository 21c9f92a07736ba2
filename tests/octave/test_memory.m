% Many calls of every plug-in, valid and invalid, must leave the resident
% memory of the host flat: nothing leaks, neither results nor scratch.
function_handles = {
  @() wavelet_analysis (rand (16), [1 1] / 2, [1 -1] / 2, 2)
  @() wavelet_analysis (rand (6, 4), [1 1], [1 -1], 2)          % refused: rows
  @() wavelet_analysis (rand (4), int8 ([1 1]), [1 -1], 1)      % refused: class
  @() wavelet_synthesis (rand (16), [1 1] / 2, [1 -1] / 2, 2)
  @() wavelet_synthesis (rand (16), [1 1], 1, 2)                % refused: short G1
  @() cyclic_split (rand (16), [1 2 3], [4 5 6])
  @() cyclic_split (rand (16), [1 2 3], 1)                      % refused: short F2
  @() cyclic_merge (rand (16), [1 2 3], [4 5 6])
  @() cyclic_merge (rand (16), zeros (1, 0), [])                % refused: no taps
};

function kb = resident_kb ()
  s = fileread ("/proc/self/status");
  kb = str2double (regexp (s, 'VmRSS:\s*(\d+)', "tokens", "once"){1});
end

function call_quietly (f)
  try
    f ();
  catch
  end
end

for f = function_handles'      % warm up: the host's own caches settle first
  for i = 1:500
    call_quietly (f{1});
  end
end
before = resident_kb ();
for f = function_handles'
  for i = 1:10000
    call_quietly (f{1});
  end
end
growth = resident_kb () - before;
% 90,000 calls: a leak of one 16 x 16 result per call would add 180 MB.
assert (growth < 16384, "resident memory grew by %d kB", growth);
