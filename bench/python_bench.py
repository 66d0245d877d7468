#!/usr/bin/python3
"""The Python half of bench/run: times the package quillet on a batch file.

  PYTHONPATH=build-release/python /usr/bin/python3 bench/python_bench.py CLI FILE

Prints one JSON object: the wall-clock seconds (median of three runs) of
  many_1, many_2  quillet.summarize_many on every line's article and title,
                  with jobs=1 and jobs=2 (median of eleven, in turns)
  cli_2           CLI --jsonl --jobs 2 FILE
  dask_2          python3 -m quillet.dask FILE --workers 2, the whole command:
                  start of the local cluster, the run and its shutdown
  dask_run_2      quillet.dask.summarize_files on FILE alone, on a local
                  cluster of 2 workers started as the command starts it
after checking that the batch commands write the same bytes.
"""

import argparse
import contextlib
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

import quillet
import quillet.dask
from quillet.dask import __main__ as dask_main


def median_time(run, repeat=3):
    """The median wall time of run(); what it returns is dropped after the
    clock stops, so that freeing the results (some 70 ms for 2000 Summary
    objects, in this thread) is not counted as the call's."""
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        result = run()
        times.append(time.perf_counter() - start)
        del result
    return statistics.median(times)


def alternating_medians(runs, repeat):
    """The median wall time of each of runs, timed in turns repeat times."""
    times = [[] for _ in runs]
    for _ in range(repeat):
        for run, spent in zip(runs, times):
            spent.append(median_time(run, repeat=1))
    return [statistics.median(spent) for spent in times]


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    cli, path = argv[1], argv[2]
    with open(path, "rb") as f:
        items = [json.loads(line) for line in f if line.strip()]

    # Taken in turns, so that a change of load weighs on both alike.
    many_1, many_2 = alternating_medians(
        [lambda: quillet.summarize_many(items, jobs=1),
         lambda: quillet.summarize_many(items, jobs=2)], repeat=11)

    with tempfile.TemporaryDirectory() as scratch:
        cli_out = os.path.join(scratch, "cli.jsonl")
        dask_out = os.path.join(scratch, "dask.jsonl")

        def run_cli():
            with open(path, "rb") as stdin, open(cli_out, "wb") as stdout:
                subprocess.run([cli, "--jsonl", "--jobs", "2"], stdin=stdin, stdout=stdout,
                               check=True)

        def run_dask():
            subprocess.run([sys.executable, "-m", "quillet.dask", path, "-o", dask_out,
                            "--workers", "2", "--no-progress"], check=True)

        cli_2 = median_time(run_cli)
        dask_2 = median_time(run_dask)
        with contextlib.ExitStack() as stack:
            client = dask_main._connect(argparse.Namespace(scheduler=None, workers=2), stack)
            run_out = os.path.join(scratch, "run.jsonl")
            dask_run_2 = median_time(
                lambda: quillet.dask.summarize_files([path], [run_out], client))
        with open(cli_out, "rb") as a:
            expected = a.read()
        for out in (dask_out, run_out):
            with open(out, "rb") as b:
                if b.read() != expected:
                    sys.exit("python_bench: quillet.dask and the command line differ")

    print(json.dumps({"file": path, "articles": len(items), "many_1": many_1,
                      "many_2": many_2, "cli_2": cli_2, "dask_2": dask_2,
                      "dask_run_2": dask_run_2}))


if __name__ == "__main__":
    main(sys.argv)
