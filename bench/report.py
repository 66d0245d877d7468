#!/usr/bin/env python3
"""The reporting half of bench/run.

  report.py table OUTDIR REPETITIONS
      Prints the benchmark table (Markdown) from OUTDIR/timings.json (Google
      Benchmark JSON, median aggregates), OUTDIR/memory.jsonl (one line per
      input from quillet_bench_mem) and, if there, OUTDIR/batch.json and
      OUTDIR/python.json (from bench/python_bench.py); then the targets
      with the figures measured against them.
  report.py time-batch CLI FILE JOBS
      Times CLI --jsonl on FILE with --jobs 1 and --jobs JOBS (wall clock,
      median of three runs each) and prints the result as JSON.
"""

import json
import os
import statistics
import subprocess
import sys
import time

# The inputs whose times make the size ratio of each language.
BIG = {"zh": ("zh-256K", "zh-1M"), "en": ("en-256K", "en-1M")}
TERMS = ("ChineseTerms", "EnglishWords")
DASH = "\u2014"


def fmt_time(seconds):
    if seconds is None:
        return DASH
    if seconds >= 1:
        return f"{seconds:.2f} s"
    if seconds >= 1e-3:
        return f"{seconds * 1e3:.3g} ms"
    return f"{seconds * 1e6:.3g} \u00b5s"


def fmt_bytes(n):
    if n is None:
        return DASH
    if n >= 1 << 20:
        return f"{n / (1 << 20):.2f} MiB"
    if n >= 1 << 10:
        return f"{n / (1 << 10):.1f} KiB"
    return f"{n} B"


def fmt_ratio(r):
    return DASH if r is None else f"{r:.3g}"


UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def load_timings(path):
    """run name -> (median CPU seconds, input bytes)"""
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b.get("run_name", b["name"])
        out[name] = (b["cpu_time"] * UNIT[b["time_unit"]], int(b.get("bytes", 0)))
    return out, data.get("context", {})


def load_memory(path):
    rows = []
    if os.path.exists(path):
        with open(path) as f:
            rows = [json.loads(line) for line in f if line.strip()]
    return rows


def machine():
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    load = ", ".join(f"{x:.2f}" for x in os.getloadavg())
    return f"{os.cpu_count()} cores, {model}; load average {load}"


def table(outdir, repetitions):
    timings, context = load_timings(os.path.join(outdir, "timings.json"))
    memory = {m["input"]: m for m in load_memory(os.path.join(outdir, "memory.jsonl"))}
    names = list(memory) or sorted({n.split("/", 1)[1] for n in timings})

    def t(kind, name):
        v = timings.get(f"{kind}/{name}")
        return v[0] if v else None

    def terms(name):
        for kind in TERMS:
            if f"{kind}/{name}" in timings:
                return t(kind, name), t(kind + "Reference", name)
        return None, None

    print(f"Measured {time.strftime('%Y-%m-%d %H:%M %Z')} on {machine()}.")
    print(f"Times: CPU time of the summarising thread, median of {repetitions} "
          "repetitions. Peak memory: peak resident set of a process that builds the "
          "input and summarises it once. Term statistics: the term stage alone "
          "(Chinese: character list and term extraction; English: word counting) "
          f"on the workspace that the stages before it leave. {DASH}: not run.")
    print()
    print("| Input | Size | Summarize | Peak memory | Term stats | Term stats, reference | Reference/fast |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for name in names:
        size = memory.get(name, {}).get("bytes")
        if size is None:
            size = next((v[1] for k, v in timings.items() if k.endswith("/" + name)), None)
        peak = memory.get(name, {}).get("peak_kib")
        fast, ref = terms(name)
        ratio = ref / fast if fast and ref else None
        print(f"| {name} | {fmt_bytes(size)} | {fmt_time(t('Summarize', name))} | "
              f"{fmt_bytes(peak * 1024 if peak else None)} | {fmt_time(fast)} | "
              f"{fmt_time(ref)} | {fmt_ratio(ratio)} |")

    batch_path = os.path.join(outdir, "batch.json")
    batch = None
    if os.path.exists(batch_path):
        with open(batch_path) as f:
            batch = json.load(f)
        print()
        print("| Batch (quillet-cli --jsonl) | Articles | --jobs 1 | "
              f"--jobs {batch['jobs']} | Throughput ratio |")
        print("|---|---:|---:|---:|---:|")
        print(f"| {os.path.basename(batch['file'])} | {batch['articles']} | "
              f"{fmt_time(batch['seconds_1'])} | {fmt_time(batch['seconds_n'])} | "
              f"{fmt_ratio(batch['seconds_1'] / batch['seconds_n'])} |")

    python_path = os.path.join(outdir, "python.json")
    python = None
    if os.path.exists(python_path):
        with open(python_path) as f:
            python = json.load(f)
        print()
        print("| Python (same file) | Articles | 1 | 2 | Ratio |")
        print("|---|---:|---:|---:|---:|")
        print(f"| summarize_many, jobs | {python['articles']} | "
              f"{fmt_time(python['many_1'])} | {fmt_time(python['many_2'])} | "
              f"{fmt_ratio(python['many_1'] / python['many_2'])} |")
        print(f"| quillet-cli --jsonl -j 2 / quillet.dask --workers 2 | "
              f"{python['articles']} | {fmt_time(python['cli_2'])} | "
              f"{fmt_time(python['dask_2'])} | "
              f"{fmt_ratio(python['dask_2'] / python['cli_2'])} |")
        print(f"| quillet-cli --jsonl -j 2 / summarize_files on a started cluster | "
              f"{python['articles']} | {fmt_time(python['cli_2'])} | "
              f"{fmt_time(python['dask_run_2'])} | "
              f"{fmt_ratio(python['dask_run_2'] / python['cli_2'])} |")

    print()
    print("| Target | Limit | Measured | |")
    print("|---|---:|---:|---|")

    def target(label, limit, value, at_most=True, shown=None):
        if value is None:
            verdict = "not measured"
        else:
            verdict = "met" if (value <= limit if at_most else value >= limit) else "MISSED"
        sign = "\u2264" if at_most else "\u2265"
        print(f"| {label} | {sign} {shown(limit) if shown else fmt_ratio(limit)} | "
              f"{(shown(value) if shown else fmt_ratio(value)) if value is not None else DASH} "
              f"| {verdict} |")

    target("Summarize zh-1M", 0.3, t("Summarize", "zh-1M"), shown=fmt_time)
    target("Summarize en-1M", 0.1, t("Summarize", "en-1M"), shown=fmt_time)
    for lang, (mid, big) in BIG.items():
        a, b = t("Summarize", mid), t("Summarize", big)
        target(f"time({big}) / time({mid})", 5, b / a if a and b else None)
    fast, ref = terms("ChineseSampleText")
    target("Chinese term stats, reference/fast on ChineseSampleText", 100,
           ref / fast if fast and ref else None, at_most=False)
    for name in ("zh-1M", "en-1M"):
        peak = memory.get(name, {}).get("peak_kib")
        target(f"Peak memory {name}", 64 << 20, peak * 1024 if peak else None,
               shown=fmt_bytes)
    target("Batch throughput, --jobs 2 / --jobs 1", 1.8,
           batch["seconds_1"] / batch["seconds_n"] if batch and batch["jobs"] >= 2 else None,
           at_most=False)
    target("summarize_many, jobs=2 / jobs=1 throughput", 1.8,
           python["many_1"] / python["many_2"] if python else None, at_most=False)
    target("quillet.dask --workers 2 / quillet-cli --jsonl -j 2 wall time", 1.5,
           python["dask_2"] / python["cli_2"] if python else None)


def time_batch(cli, path, jobs):
    with open(path) as f:
        articles = sum(1 for line in f if line.strip())

    def run(n):
        times = []
        for _ in range(3):
            with open(path, "rb") as stdin:
                start = time.perf_counter()
                subprocess.run([cli, "--jsonl", "--jobs", str(n)], stdin=stdin,
                               stdout=subprocess.DEVNULL, check=True)
                times.append(time.perf_counter() - start)
        return statistics.median(times)

    print(json.dumps({"file": path, "articles": articles, "jobs": jobs,
                      "seconds_1": run(1), "seconds_n": run(jobs)}))


def main(argv):
    if len(argv) == 4 and argv[1] == "table":
        table(argv[2], int(argv[3]))
    elif len(argv) == 5 and argv[1] == "time-batch":
        time_batch(argv[2], argv[3], int(argv[4]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
