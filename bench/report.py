#!/usr/bin/env python3
"""The reporting half of bench/run.

  report.py table OUTDIR REPETITIONS
      Prints the benchmark table (Markdown) from OUTDIR/timings.json (Google
      Benchmark JSON, median aggregates), OUTDIR/memory.jsonl (one line per
      process of quillet_bench_mem, several per input) and, if there, OUTDIR/batch.json,
      OUTDIR/process.jsonl and OUTDIR/python.json (from
      bench/python_bench.py); then the targets with the figures measured
      against them.
  report.py time-batch CLI FILE JOBS RUNS
      Times CLI --jsonl on FILE with --jobs 1 and --jobs JOBS (wall clock,
      median of RUNS runs each) and prints the result as JSON.
  report.py time-process LABEL BYTES RUNS COMMAND...
      Runs COMMAND RUNS times as a whole process, output discarded, and
      prints one JSON line: LABEL, BYTES, the median wall time and the
      largest peak resident set (getrusage of the child).
"""

import json
import os
import statistics
import subprocess
import sys
import time

# The inputs whose times make the size ratio of each language.
BIG = {"zh": ("zh-256K", "zh-1M"), "en": ("en-256K", "en-1M")}
# Every pair of inputs of 256 KiB and 1 MiB: the growth of the whole process.
FAMILIES = ("zh-", "en-", "zh-repeat-", "en-repeat-", "zh-marks-", "en-marks-")
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


def load_json_if_there(path):
    """The JSON document in path, or None when there is no such file."""
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return json.load(f)


def memory_by_input(rows):
    """input -> one row for the fresh processes that ran it: the median of
    their first and warm times, the largest of their peaks."""
    runs = {}
    for m in rows:
        runs.setdefault(m["input"], []).append(m)
    out = {}
    for name, ms in runs.items():
        row = dict(ms[0])
        for key in ("cold_s", "warm_s", "before_kib"):
            row[key] = statistics.median(m[key] for m in ms)
        row["peak_kib"] = max(m["peak_kib"] for m in ms)
        out[name] = row
    return out


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


def cold_ratio(memory, name):
    m = memory.get(name, {})
    return m["cold_s"] / m["warm_s"] if m.get("warm_s") else None


def table(outdir, repetitions):
    timings, context = load_timings(os.path.join(outdir, "timings.json"))
    memory = memory_by_input(load_memory(os.path.join(outdir, "memory.jsonl")))
    process = {p["label"]: p for p in load_memory(os.path.join(outdir, "process.jsonl"))}
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
          "input and summarises it once (the largest of several such processes). "
          "First/warm: CPU time of the first Summarize in a fresh process over the "
          "median of five after it in the same process, each the median over "
          "those processes. Term "
          "statistics: the term stage alone "
          "(Chinese: character list and term extraction; English: word counting) "
          f"on the workspace that the stages before it leave. {DASH}: not run.")
    print()
    print("| Input | Size | Summarize | Peak memory | First/warm | Term stats | Term stats, reference | Reference/fast |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    for name in names:
        size = memory.get(name, {}).get("bytes")
        if size is None:
            size = next((v[1] for k, v in timings.items() if k.endswith("/" + name)), None)
        peak = memory.get(name, {}).get("peak_kib")
        fast, ref = terms(name)
        ratio = ref / fast if fast and ref else None
        print(f"| {name} | {fmt_bytes(size)} | {fmt_time(t('Summarize', name))} | "
              f"{fmt_bytes(peak * 1024 if peak else None)} | "
              f"{fmt_ratio(cold_ratio(memory, name))} | {fmt_time(fast)} | "
              f"{fmt_time(ref)} | {fmt_ratio(ratio)} |")

    def wall(label):
        p = process.get(label)
        return p["seconds"] if p else None

    if process:
        print()
        ots_runs = next((p["runs"] for p in process.values()
                         if p["label"].startswith("ots ")), None)
        print("Whole process: `quillet-cli FILE` on the input as a UTF-8 file, "
              "wall clock, median of "
              f"{next(iter(process.values()))['runs']} runs; peak resident set"
              + (f"; `ots FILE` (another English summariser), median of {ots_runs} runs."
                 if ots_runs else "."))
        print()
        print("| Input | File size (UTF-8) | quillet-cli | Peak memory | ots |")
        print("|---|---:|---:|---:|---:|")
        for p in process.values():
            if p["label"].startswith(("ots ", "batch ")):
                continue
            name = p["label"]
            print(f"| {name} | {fmt_bytes(p['bytes'])} | {fmt_time(p['seconds'])} | "
                  f"{fmt_bytes(p['peak_kib'] * 1024)} | {fmt_time(wall('ots ' + name))} |")

    batch = load_json_if_there(os.path.join(outdir, "batch.json"))
    if batch:
        print()
        print("| Batch (quillet-cli --jsonl) | Articles | --jobs 1 | "
              f"--jobs {batch['jobs']} | Articles/s, --jobs 1 | Throughput ratio |")
        print("|---|---:|---:|---:|---:|---:|")
        print(f"| {os.path.basename(batch['file'])} | {batch['articles']} | "
              f"{fmt_time(batch['seconds_1'])} | {fmt_time(batch['seconds_n'])} | "
              f"{batch['articles'] / batch['seconds_1']:.0f} | "
              f"{fmt_ratio(batch['seconds_1'] / batch['seconds_n'])} |")

    python = load_json_if_there(os.path.join(outdir, "python.json"))
    if python:
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
    target("quillet-cli zh-1M, whole process", 0.12, wall("zh-1M"), shown=fmt_time)
    target("quillet-cli en-1M, whole process", 0.06, wall("en-1M"), shown=fmt_time)
    for name in ("zh-1M", "en-1M"):
        target(f"First/warm Summarize {name}", 1.3, cold_ratio(memory, name))
    for family in FAMILIES:
        a, b = wall(family + "256K"), wall(family + "1M")
        target(f"quillet-cli {family}1M / {family}256K, whole process", 4.3,
               b / a if a and b else None)
    for name in ("zh-1M", "en-1M"):
        p = process.get(name)
        target(f"Peak memory quillet-cli {name}", 48 << 20,
               p["peak_kib"] * 1024 if p else None, shown=fmt_bytes)
    target("Batch --jobs 1, articles/s", 2500,
           batch["articles"] / batch["seconds_1"] if batch else None, at_most=False,
           shown=lambda v: f"{v:.0f}")
    target("Batch throughput, --jobs 2 / --jobs 1", 1.85,
           batch["seconds_1"] / batch["seconds_n"] if batch and batch["jobs"] >= 2 else None,
           at_most=False)
    target("summarize_many, jobs=2 / jobs=1 throughput", 1.8,
           python["many_1"] / python["many_2"] if python else None, at_most=False)
    target("quillet.dask --workers 2 / quillet-cli --jsonl -j 2 wall time", 1.5,
           python["dask_2"] / python["cli_2"] if python else None)


def run_once(command, stdin_path=None):
    """(wall seconds, peak resident KiB) of one run of command"""
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    try:
        start = time.perf_counter()
        child = subprocess.Popen(command, stdin=stdin, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - start
        child.returncode = os.waitstatus_to_exitcode(status)
    finally:
        if stdin_path:
            stdin.close()
    if child.returncode != 0:
        sys.exit(f"report.py: {command} exited with {child.returncode}")
    return seconds, usage.ru_maxrss


def time_batch(cli, path, jobs, runs):
    with open(path) as f:
        articles = sum(1 for line in f if line.strip())

    def run(n):
        return statistics.median(
            run_once([cli, "--jsonl", "--jobs", str(n)], path)[0] for _ in range(runs))

    print(json.dumps({"file": path, "articles": articles, "jobs": jobs,
                      "seconds_1": run(1), "seconds_n": run(jobs)}))


def time_process(label, size, runs, command):
    results = [run_once(command) for _ in range(runs)]
    print(json.dumps({"label": label, "bytes": size, "runs": runs,
                      "seconds": statistics.median(r[0] for r in results),
                      "peak_kib": max(r[1] for r in results)}))


def main(argv):
    if len(argv) == 4 and argv[1] == "table":
        table(argv[2], int(argv[3]))
    elif len(argv) == 6 and argv[1] == "time-batch":
        time_batch(argv[2], argv[3], int(argv[4]), int(argv[5]))
    elif len(argv) >= 6 and argv[1] == "time-process":
        time_process(argv[2], int(argv[3]), int(argv[4]), argv[5:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
