"""Combines one run of scripts/bench.sh into build/bench/: results.json (every
measurement and every ratio), table.txt (the targets, PASS or MISS) and
scaling.png (time against size, and time per pixel and tap, via gnuplot).

    python3 report.py DIR     (DIR holds core_grid.json, core_targets.json,
                               pywt.json, octave.json and machine.txt)
"""
import json
import os
import re
import statistics
import subprocess
import sys

NAME = re.compile(r"^(?P<core>\w+)/(?:(?P<shape>matrix|row|column)/)?(?P<rows>\d+)x(?P<cols>\d+)"
                  r"(?:/K(?P<K>\d+))?(?:/L(?P<L>\d+))?")
UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def load(path):
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return json.load(f)


def core_times(data):
    """{(core, shape, rows, cols, K, L): seconds}: the median over repetitions
    when there are any, else the single run."""
    runs, medians = {}, {}
    for b in (data or {}).get("benchmarks", []):
        m = NAME.match(b["name"])
        if not m or b.get("error_occurred"):
            continue
        key = (m["core"], m["shape"] or "matrix", int(m["rows"]), int(m["cols"]),
               int(m["K"] or 1), int(m["L"] or 0))
        seconds = b["real_time"] * UNIT[b["time_unit"]]
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                medians[key] = seconds
        else:
            runs.setdefault(key, []).append(seconds)
    out = {k: statistics.median(v) for k, v in runs.items()}
    out.update(medians)
    return out


def peak_flops(*datas):
    """(instruction set, flop/s) of the peak multiply-and-add benchmark: the
    median over repetitions when there are any; the later data wins."""
    found = None
    for data in datas:
        runs, median = {}, {}
        for b in (data or {}).get("benchmarks", []):
            if not b["name"].startswith("peak/mul_add/") or b.get("error_occurred"):
                continue
            isa = b["name"].split("/")[2]
            if b.get("run_type") == "aggregate":
                if b.get("aggregate_name") == "median":
                    median[isa] = b["flops"]
            else:
                runs.setdefault(isa, []).append(b["flops"])
        for isa in set(runs) | set(median):
            found = (isa, median[isa] if isa in median else statistics.median(runs[isa]))
    return found


VECTOR_UNIT = {"avx512": "AVX-512 (8 doubles)", "avx2": "AVX2 (4 doubles)",
               "baseline": "SSE2 / NEON (2 doubles)"}


def analysis_flops(rows, cols, K, L):
    """Multiplications + additions the analysis sums need, level by level: on
    each level's block a row pass and a column pass (a dimension of 1 is not
    filtered), every output sample (low and high alike) is K products added
    one by one to +0.0: K multiplications and K additions."""
    total, m, n = 0, rows, cols
    for _ in range(L):
        passes = (m > 1) + (n > 1)
        total += passes * m * n * (K + K)
        m, n = m // 2, n // 2
    return total


def synthesis_flops(rows, cols, K, L):
    """The same for the synthesis: every output sample of each pass is K / 2
    tap pairs (one low-pass, one high-pass coefficient), each 2
    multiplications and 2 additions."""
    total, m, n = 0, rows, cols
    for _ in range(L):
        passes = (m > 1) + (n > 1)
        total += passes * m * n * (K // 2) * (2 + 2)
        m, n = m // 2, n // 2
    return total


def flop_count_check():
    """A tiny case by hand and the closed form at 2048^2, so that a slip in the
    count shows: 4 x 4, K = 2, L = 1: 16 outputs per pass, 2 passes, 4 flops
    each = 128; n x n, L = 3: 2 passes x 2K flops x n^2 (1 + 1/4 + 1/16)."""
    tiny = 2 * 16 * (2 + 2)
    assert analysis_flops(4, 4, 2, 1) == tiny == synthesis_flops(4, 4, 2, 1)
    n, K = 2048, 8
    closed = 2 * 2 * K * n * n * (1 + 1 / 4 + 1 / 16)
    assert analysis_flops(n, n, K, 3) == closed == synthesis_flops(n, n, K, 3)
    return (f"flop count check: 4x4 K=2 L=1: 2 passes x 16 outputs x (2 mul + 2 add) = {tiny}; "
            f"{n}^2 K={K} L=3: 2 passes x 2K x n^2 x (1 + 1/4 + 1/16) = {closed:.0f} "
            f"= level by level {analysis_flops(n, n, K, 3)} (analysis), "
            f"{synthesis_flops(n, n, K, 3)} (synthesis)")


VECTOR_SIDES = (256, 1024, 4096)          # n = 2^16, 2^20, 2^24 samples
BUILD_TARGETS = ((2048, 0.6), (256, 0.8), (8, 1.0))


def registry_plugins():
    """The plug-in names of plugins.txt (the plugin lines), in its order."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "plugins.txt")
    with open(path) as f:
        lines = (line.split("#", 1)[0].split() for line in f)
        return tuple(words[1] for words in lines if len(words) > 1 and words[0] == "plugin")


PLUGINS = registry_plugins()


def extra_rows(row, section, ratio, best, peak, pywt, octave):
    """The rows of the 1-D, floor, small-call and Octave-build targets; returns
    the lines printed under the table (times behind the ratios)."""
    K, L = 8, 3
    lines = []
    levels = {"dwt": L, "idwt": L, "cyclic_split": 0, "cyclic_merge": 0}

    section("vectors against the matrix of the same samples (K = 8, L = 3)")
    for core, Lx in levels.items():
        for side in VECTOR_SIDES:
            n = side * side
            matrix = best.get((core, "matrix", side, side, K, Lx))
            for shape, dims in (("row", (1, n)), ("column", (n, 1))):
                r = ratio(best.get((core, shape, dims[0], dims[1], K, Lx)), matrix)
                label = f"1 x 2^{n.bit_length() - 1}" if shape == "row" else f"2^{n.bit_length() - 1} x 1"
                row(f"{core} {label} {shape} / {side}^2 matrix", r, "<= 0.6", r and r <= 0.6)

    section("1-D signals against PyWavelets (db4, periodization, 3 levels)")
    signals = {s["length"]: s for s in pywt.get("signals", [])}
    for ours, theirs in (("dwt", "wavedec"), ("idwt", "waverec")):
        for side in VECTOR_SIDES:
            n = side * side
            t = best.get((ours, "row", 1, n, K, L))
            r = ratio(signals.get(n, {}).get(theirs + "_s"), t)
            row(f"{ours} 1 x 2^{n.bit_length() - 1}: pywt {theirs} time / ours", r, ">= 2.5x",
                r and r >= 2.5)
    parts = []
    for side in VECTOR_SIDES:
        n = side * side
        sig = signals.get(n, {})
        times = [best.get(("dwt", "row", 1, n, K, L)), sig.get("wavedec_s"),
                 best.get(("idwt", "row", 1, n, K, L)), sig.get("waverec_s")]
        parts.append(f"2^{n.bit_length() - 1}: " + " / ".join("-" if t is None else f"{t * 1e3:.2f}"
                                                             for t in times))
    lines.append("1-D (ms), dwt / wavedec / idwt / waverec: " + "; ".join(parts))

    n = 2048
    section(f"2-D synthesis and the arithmetic floor, {n}^2, K = 8, L = 3")
    dwt, idwt = best.get(("dwt", "matrix", n, n, K, L)), best.get(("idwt", "matrix", n, n, K, L))
    r = ratio(idwt, dwt)
    row(f"idwt / dwt, {n}^2", r, "<= 1.1", r and r <= 1.1)
    if peak:
        isa, rate = peak
        row(f"peak separate multiply + add ({isa}), GFLOP/s", rate / 1e9, "(measured)", None)
        for core, flops, t in (("dwt", analysis_flops(n, n, K, L), dwt),
                               ("idwt", synthesis_flops(n, n, K, L), idwt)):
            floor = flops / rate
            r = ratio(t, floor)
            row(f"{core} {n}^2 / no-FMA floor ({flops / 1e6:.1f} Mflop = {floor * 1e3:.2f} ms)", r,
                "<= 1.6", r and r <= 1.6)
    else:
        row("peak separate multiply + add", None, "(measured)", None, status="n/a (not measured)")
    lines.append(flop_count_check())

    section("per-call cost in Octave: 8 x 8 Haar, L = 3, against a no-op taking the same arguments")
    h = octave.get("haar8") or {}
    for name in PLUGINS:
        noop = h.get("noop_plugin_4" if name.startswith("wavelet") else "noop_plugin_3")
        r = ratio(h.get(name), noop)
        row(f"{name} 8x8 Haar / no-op plug-in", r, "<= 2", r and r <= 2)
    if h:
        lines.append("Octave 8x8 Haar (us): " + ", ".join(
            f"{k} {h[k] * 1e6:.1f}" for k in PLUGINS + ("noop_plugin_4", "noop_plugin_3") if k in h))

    section("Octave builds end to end: .oct against .mex (db4, L = 3)")
    builds = {b["side"]: b for b in _as_list(octave.get("builds"))}
    skipped = octave.get("builds_skipped") or (None if builds else "no Octave run")
    status = f"skipped ({skipped})" if skipped and not octave.get("builds_skipped") \
        else "skipped (no .oct build)"
    for side, target in BUILD_TARGETS:
        b = builds.get(side, {})
        mex, oct_ = b.get("mex") or {}, b.get("oct") or {}
        for name in PLUGINS:
            what = f"{name} {side}^2: .oct / .mex"
            if skipped or name not in oct_:
                row(what, None, f"<= {target}", None, status=status)
            else:
                r = ratio(oct_.get(name), mex.get(name))
                row(what, r, f"<= {target}", r and r <= target)
        if mex.get("noop") and oct_.get("noop"):
            row(f".oct no-op floor {side}^2 ({_ms(oct_['noop'])}) / .mex no-op ({_ms(mex['noop'])})",
                ratio(oct_["noop"], mex["noop"]), "(floor)", None)
        elif skipped:
            row(f".oct no-op floor {side}^2", None, "(floor)", None, status=status)
        if b:
            lines.append(f"Octave {side}^2 (ms) .mex / .oct: " + ", ".join(
                f"{k} {mex[k] * 1e3:.3f} / " + (f"{oct_[k] * 1e3:.3f}" if k in oct_ else "-")
                for k in PLUGINS + ("noop",) if k in mex))
    if skipped:
        lines.append(f"Octave builds: skipped ({skipped})")
    return lines


def _ms(seconds):
    return f"{seconds * 1e3:.1f} ms" if seconds >= 0.01 else f"{seconds * 1e6:.1f} us"


def _as_list(value):
    """jsonencode writes a one-element cell as a bare object."""
    if value is None:
        return []
    return value if isinstance(value, list) else [value]


def main():
    d = sys.argv[1]
    grid = core_times(load(os.path.join(d, "core_grid.json")))
    targets = core_times(load(os.path.join(d, "core_targets.json")))
    best = dict(grid)
    best.update(targets)  # the repeated measurements win
    peak = peak_flops(load(os.path.join(d, "core_grid.json")),
                      load(os.path.join(d, "core_targets.json")))
    pywt = load(os.path.join(d, "pywt.json")) or {"results": []}
    octave = load(os.path.join(d, "octave.json")) or {"results": []}
    py = {r["side"]: r for r in pywt["results"]}
    octs = octave["results"]
    if isinstance(octs, dict):
        octs = [octs]
    oc = {r["side"]: r for r in octs}
    machine = open(os.path.join(d, "machine.txt")).read().strip() \
        if os.path.exists(os.path.join(d, "machine.txt")) else ""
    if peak:
        machine += (f"; widest vector unit {VECTOR_UNIT.get(peak[0], peak[0])}, peak separate"
                    f" multiply + add {peak[1] / 1e9:.1f} GFLOP/s")

    n, K, L = 2048, 8, 3
    rows = []

    def row(what, measured, target, passed, note="", status=None):
        if status is None:
            status = "n/a" if passed is None else ("PASS" if passed else "MISS")
        rows.append({"row": what, "measured": measured, "target": target,
                     "status": status, "note": note})

    def section(title):
        rows.append({"section": title})

    def core(name, Kx=K, Lx=None):
        key = (name, "matrix", n, n, Kx, Lx if Lx is not None else 0)
        return best.get(key)

    memcpy = best.get(("memcpy", "matrix", n, n, 1, 0))
    dwt, idwt = core("dwt", Lx=L), core("idwt", Lx=L)
    split, merge = core("cyclic_split"), core("cyclic_merge")
    p = py.get(n, {})
    o = oc.get(n, {})

    def ratio(a, b):
        return a / b if a and b else None

    section(f"2-D, {n}^2 doubles, K = 8 (db4), 3 levels")
    r = ratio(p.get("wavedec2_s"), dwt)
    row(f"dwt {n}^2 K=8 L=3: pywt wavedec2 time / ours", r, ">= 10x", r and r >= 10)
    r = ratio(dwt, memcpy)
    row(f"dwt {n}^2 K=8 L=3: ours / memcpy", r, "<= 4", r and r <= 4)
    r = ratio(p.get("waverec2_s"), idwt)
    row(f"idwt {n}^2 K=8 L=3: pywt waverec2 time / ours", r, ">= 10x", r and r >= 10)
    r = ratio(idwt, memcpy)
    row(f"idwt {n}^2 K=8 L=3: ours / memcpy", r, "<= 4", r and r <= 4)
    for name, t in (("cyclic_split", split), ("cyclic_merge", merge)):
        r = ratio(t, memcpy)
        row(f"{name} {n}^2 K=8: ours / memcpy", r, "<= 3", r and r <= 3)
    for name in ("cyclic_split", "cyclic_merge"):
        r = ratio(o.get("conv2_" + name.split("_")[1]), o.get(name))
        row(f"{name} {n}^2 K=8 in Octave: conv2 on padding / plug-in", r, "> 1 (faster)", r and r > 1)
        r = ratio(o.get("fft2_circular"), o.get(name))
        row(f"{name} {n}^2 K=8 in Octave: fft2 / plug-in", r, "> 1 (faster)", r and r > 1)
    for name in ("wavelet_analysis", "wavelet_synthesis", "cyclic_split", "cyclic_merge"):
        r = ratio(o.get(name), o.get("noop_plugin"))
        row(f"{name} {n}^2 in Octave: plug-in / no-op plug-in", r, "<= 1.3", r and r <= 1.3)
    extra_lines = extra_rows(row, section, ratio, best, peak, pywt, octave)
    # Growth from the grid alone: one sweep, one set of conditions; a quick
    # run has no matrices in its grid and uses the table's rows instead.
    sweep = grid if any(k[1] == "matrix" and k[0] != "memcpy" for k in grid) else best
    section("growth with size (" + ("the grid, one run each" if sweep is grid
                                    else "the table's rows, medians") + ")")
    growth = {}
    sides = sorted({k[2] for k in sweep if k[0] != "memcpy" and k[1] == "matrix"})
    for name, Lx in (("dwt", L), ("idwt", L), ("cyclic_split", 0), ("cyclic_merge", 0)):
        per = {s: sweep[(name, "matrix", s, s, K, Lx)] / (s * s * K)
               for s in sides if (name, "matrix", s, s, K, Lx) in sweep}
        growth[name] = per
        if len(per) >= 2:
            r = max(per.values()) / min(per.values())
            lo, hi = min(per), max(per)
            row(f"{name} K=8 growth: max/min of time/(pixels x K), {lo}^2..{hi}^2", r,
                "<= 1.5 (flat)", r <= 1.5,
                " ".join(f"{s}:{v * 1e9:.2f}ns" for s, v in sorted(per.items())))

    lines = [f"Performance, K = 8 (db4), 3 levels unless stated. {machine}", ""]
    width = max(len(x["row"]) for x in rows if "row" in x)
    lines.append(f"{'':{width}}  {'measured':>9}  {'target':<14} result")
    for x in rows:
        if "section" in x:
            lines.append(f"-- {x['section']}")
            continue
        m = "-" if x["measured"] is None else f"{x['measured']:.2f}"
        lines.append(f"{x['row']:<{width}}  {m:>9}  {x['target']:<14} {x['status']}")
    lines.append("")
    lines.append("times at 2048^2 (ms): " + ", ".join(
        f"{k} {v * 1e3:.1f}" for k, v in (("memcpy", memcpy), ("dwt", dwt), ("idwt", idwt),
                                         ("split", split), ("merge", merge),
                                         ("wavedec2", p.get("wavedec2_s")),
                                         ("waverec2", p.get("waverec2_s"))) if v))
    if o:
        lines.append("Octave end to end at 2048^2 (ms): " + ", ".join(
            f"{k} {o[k] * 1e3:.1f}" for k in ("wavelet_analysis", "wavelet_synthesis", "cyclic_split",
                                           "cyclic_merge", "noop_plugin", "copy", "conv2_split",
                                           "conv2_merge", "fft2_circular") if k in o))
    for x in rows:
        if x.get("note"):
            lines.append(f"{x['row'].split(':')[0]}: {x['note']}")
    lines += extra_lines
    table = "\n".join(lines) + "\n"
    with open(os.path.join(d, "table.txt"), "w") as f:
        f.write(table)
    print(table, end="")

    with open(os.path.join(d, "results.json"), "w") as f:
        json.dump({"machine": machine,
                   "targets": [x for x in rows if "row" in x],
                   "core_seconds": [{"core": k[0], "shape": k[1], "rows": k[2], "cols": k[3],
                                     "K": k[4], "L": k[5], "seconds": v}
                                    for k, v in sorted(best.items())],
                   "pywt": pywt, "octave": octave}, f, indent=1)

    plot(d, sweep, py, oc, sides)


def plot(d, best, py, oc, sides):
    """scaling.dat (one row per size) and scaling.png through gnuplot."""
    K, L = 8, 3
    cols = [("memcpy", lambda s: best.get(("memcpy", "matrix", s, s, 1, 0))),
            ("dwt", lambda s: best.get(("dwt", "matrix", s, s, K, L))),
            ("idwt", lambda s: best.get(("idwt", "matrix", s, s, K, L))),
            ("cyclic_split", lambda s: best.get(("cyclic_split", "matrix", s, s, K, 0))),
            ("cyclic_merge", lambda s: best.get(("cyclic_merge", "matrix", s, s, K, 0))),
            ("pywt_wavedec2", lambda s: py.get(s, {}).get("wavedec2_s")),
            ("pywt_waverec2", lambda s: py.get(s, {}).get("waverec2_s")),
            ("octave_split", lambda s: oc.get(s, {}).get("cyclic_split")),
            ("octave_noop", lambda s: oc.get(s, {}).get("noop_plugin")),
            ("octave_conv2", lambda s: oc.get(s, {}).get("conv2_split")),
            ("octave_fft2", lambda s: oc.get(s, {}).get("fft2_circular"))]
    all_sides = sorted(set(sides) | set(py) | set(oc))
    dat = os.path.join(d, "scaling.dat")
    with open(dat, "w") as f:
        f.write("# pixels " + " ".join(c for c, _ in cols) + "  (seconds; NaN = not measured)\n")
        for s in all_sides:
            vals = [fn(s) for _, fn in cols]
            f.write(f"{s * s} " + " ".join("NaN" if v is None else repr(v) for v in vals) + "\n")
    left = ", ".join(f"'{dat}' u 1:{i + 2} w lp t '{c.replace('_', ' ')}'" for i, (c, _) in enumerate(cols))
    right = ", ".join(f"'{dat}' u 1:(${i + 2}/($1*{1 if c == 'memcpy' else K})*1e9) w lp t '{c.replace('_', ' ')}'"
                      for i, (c, _) in enumerate(cols[:5]))
    script = f"""
set terminal pngcairo size 1400,600 font ',10'
set output '{os.path.join(d, "scaling.png")}'
set datafile missing 'NaN'
set multiplot layout 1,2
set logscale xy
set autoscale xfix
set offsets graph 0.05, graph 0.05, 0, 0
set grid
set key left top
set xlabel 'pixels'
set ylabel 'seconds per call'
set title 'time against size (K = 8, 3 levels; cores alone, peers and Octave end to end)'
plot {left}
unset logscale y
set logscale x
set ylabel 'ns per pixel and tap (memcpy: per pixel)'
set yrange [0:*]
set title 'growth: time / (pixels x K), flat = linear in the work'
plot {right}
unset multiplot
"""
    try:
        subprocess.run(["gnuplot"], input=script, text=True, check=True)
    except (OSError, subprocess.CalledProcessError) as e:
        print(f"scaling.png not written: {e}", file=sys.stderr)


if __name__ == "__main__":
    main()
