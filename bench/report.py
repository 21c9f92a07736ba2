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


def main():
    d = sys.argv[1]
    grid = core_times(load(os.path.join(d, "core_grid.json")))
    targets = core_times(load(os.path.join(d, "core_targets.json")))
    best = dict(grid)
    best.update(targets)  # the repeated measurements win
    pywt = load(os.path.join(d, "pywt.json")) or {"results": []}
    octave = load(os.path.join(d, "octave.json")) or {"results": []}
    py = {r["side"]: r for r in pywt["results"]}
    octs = octave["results"]
    if isinstance(octs, dict):
        octs = [octs]
    oc = {r["side"]: r for r in octs}
    machine = open(os.path.join(d, "machine.txt")).read().strip() \
        if os.path.exists(os.path.join(d, "machine.txt")) else ""

    n, K, L = 2048, 8, 3
    rows = []

    def row(what, measured, target, passed, note=""):
        rows.append({"row": what, "measured": measured, "target": target,
                     "status": "n/a" if passed is None else ("PASS" if passed else "MISS"),
                     "note": note})

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
    # Growth from the grid alone: one sweep, one set of conditions.
    growth = {}
    sides = sorted({k[2] for k in grid if k[0] == "memcpy"})
    for name, Lx in (("dwt", L), ("idwt", L), ("cyclic_split", 0), ("cyclic_merge", 0)):
        per = {s: grid[(name, "matrix", s, s, K, Lx)] / (s * s * K)
               for s in sides if (name, "matrix", s, s, K, Lx) in grid}
        growth[name] = per
        if len(per) >= 2:
            r = max(per.values()) / min(per.values())
            lo, hi = min(per), max(per)
            row(f"{name} K=8 growth: max/min of time/(pixels x K), {lo}^2..{hi}^2", r,
                "<= 1.5 (flat)", r <= 1.5,
                " ".join(f"{s}:{v * 1e9:.2f}ns" for s, v in sorted(per.items())))

    lines = [f"Performance, {n}^2 doubles, K = 8 (db4), 3 levels. {machine}", ""]
    width = max(len(x["row"]) for x in rows)
    lines.append(f"{'':{width}}  {'measured':>9}  {'target':<14} result")
    for x in rows:
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
        if x["note"]:
            lines.append(f"{x['row'].split(':')[0]}: {x['note']}")
    table = "\n".join(lines) + "\n"
    with open(os.path.join(d, "table.txt"), "w") as f:
        f.write(table)
    print(table, end="")

    with open(os.path.join(d, "results.json"), "w") as f:
        json.dump({"machine": machine,
                   "targets": rows,
                   "core_seconds": [{"core": k[0], "shape": k[1], "rows": k[2], "cols": k[3],
                                     "K": k[4], "L": k[5], "seconds": v}
                                    for k, v in sorted(best.items())],
                   "pywt": pywt, "octave": octave}, f, indent=1)

    plot(d, grid, py, oc, sides)


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
