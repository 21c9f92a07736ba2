"""Times the peer: pywt.wavedec2 / pywt.waverec2 (mode='periodization', 'db4',
an 8-tap pair) on n x n matrices of random doubles, and pywt.wavedec /
pywt.waverec on 1-D signals of n samples, the median of several repeated
measurements per size.  Writes JSON to the given file.

    python3 pywt_bench.py OUT.json [LEVELS] [SIDE ...] [--signals LENGTH ...]
"""
import json
import statistics
import sys
import time

import numpy as np
import pywt


def median_seconds(call, min_total=0.3, samples=5, warmed_up=False):
    """Median time of one call: each sample repeats the call enough times to
    last at least min_total / samples seconds.  Calls slower than a second
    (the 1-D signals of 2^24 samples: seconds each in PyWavelets) take only
    as many single-call samples as fit in about 3 seconds, at least one."""
    if not warmed_up:
        call()
    start = time.perf_counter()
    call()
    once = time.perf_counter() - start
    if once > 1.0:
        samples = max(1, min(3, int(3.0 / once)))
    repeat = max(1, int(min_total / samples / max(once, 1e-9)))
    times = [once] if repeat == 1 else []
    while len(times) < samples:
        start = time.perf_counter()
        for _ in range(repeat):
            call()
        times.append((time.perf_counter() - start) / repeat)
    return statistics.median(times)


def main():
    args = sys.argv[1:]
    lengths = []
    if "--signals" in args:
        at = args.index("--signals")
        lengths = [int(n) for n in args[at + 1:]]
        args = args[:at]
    out = args[0]
    levels = int(args[1]) if len(args) > 1 else 3
    sides = [int(s) for s in args[2:]] or [256, 1024, 2048, 4096]
    rng = np.random.default_rng(1)
    rows = []
    for side in sides:
        x = rng.uniform(-1.0, 1.0, size=(side, side))
        coeffs = pywt.wavedec2(x, "db4", mode="periodization", level=levels)
        back = pywt.waverec2(coeffs, "db4", mode="periodization")
        error = float(np.max(np.abs(back - x)))
        dec = median_seconds(lambda: pywt.wavedec2(x, "db4", mode="periodization", level=levels))
        rec = median_seconds(lambda: pywt.waverec2(coeffs, "db4", mode="periodization"))
        rows.append({"side": side, "levels": levels, "taps": 8,
                     "wavedec2_s": dec, "waverec2_s": rec, "roundtrip_error": error})
        print(f"pywt {side}x{side} L={levels}: wavedec2 {dec * 1e3:.2f} ms, "
              f"waverec2 {rec * 1e3:.2f} ms (round trip error {error:.1e})", flush=True)
    signals = [time_signal(rng, n, levels) for n in lengths]
    with open(out, "w") as f:
        json.dump({"pywt_version": pywt.__version__, "numpy_version": np.__version__,
                   "results": rows, "signals": signals}, f, indent=1)


def time_signal(rng, length, levels):
    """wavedec / waverec of one 1-D signal of the given length."""
    x = rng.uniform(-1.0, 1.0, size=length)
    coeffs = pywt.wavedec(x, "db4", mode="periodization", level=levels)
    back = pywt.waverec(coeffs, "db4", mode="periodization")
    error = float(np.max(np.abs(back - x)))
    # The round trip above was each call's warm-up.
    dec = median_seconds(lambda: pywt.wavedec(x, "db4", mode="periodization", level=levels),
                         warmed_up=True)
    rec = median_seconds(lambda: pywt.waverec(coeffs, "db4", mode="periodization"), warmed_up=True)
    print(f"pywt 1-D {length} L={levels}: wavedec {dec * 1e3:.3f} ms, "
          f"waverec {rec * 1e3:.3f} ms (round trip error {error:.1e})", flush=True)
    return {"length": length, "levels": levels, "taps": 8,
            "wavedec_s": dec, "waverec_s": rec, "roundtrip_error": error}


if __name__ == "__main__":
    main()
