"""Times the peer: pywt.wavedec2 / pywt.waverec2 (mode='periodization', 'db4',
an 8-tap pair) on n x n matrices of random doubles, the median of several
repeated measurements per size.  Writes a JSON list to the given file.

    python3 pywt_bench.py OUT.json [LEVELS] [SIDE ...]
"""
import json
import statistics
import sys
import time

import numpy as np
import pywt


def median_seconds(call, min_total=0.3, samples=5):
    """Median time of one call: each sample repeats the call enough times to
    last at least min_total / samples seconds."""
    start = time.perf_counter()
    call()
    once = time.perf_counter() - start
    repeat = max(1, int(min_total / samples / max(once, 1e-9)))
    times = []
    for _ in range(samples):
        start = time.perf_counter()
        for _ in range(repeat):
            call()
        times.append((time.perf_counter() - start) / repeat)
    return statistics.median(times)


def main():
    out = sys.argv[1]
    levels = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    sides = [int(s) for s in sys.argv[3:]] or [256, 1024, 2048, 4096]
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
    with open(out, "w") as f:
        json.dump({"pywt_version": pywt.__version__, "numpy_version": np.__version__,
                   "results": rows}, f, indent=1)


if __name__ == "__main__":
    main()
