"""python3 -m quillet.dask: quillet-cli --jsonl on a Dask cluster.

    python3 -m quillet.dask INPUT... -o OUTPUT
        [--scheduler ADDRESS | --workers N] [--length-class N]

Each INPUT is a JSON-lines file or a glob pattern ('archive/*.jsonl'). For
one input, OUTPUT is the output file, unless it names a folder (it exists,
or ends in "/"); for several, OUTPUT is a folder (made if missing) that gets
one output per input under the input's file name. Every output holds
exactly what quillet-cli --jsonl writes for its input.

The work goes to the cluster of the scheduler at ADDRESS, or, without it,
to a local cluster of N worker processes (default: one per core) that
listen on 127.0.0.1 only.

Exit status: 0 after a run (whatever the error lines of the outputs), 2
for a usage error, an input that cannot be read, an output that cannot be
written, or a run the cluster could not finish; each such error is one
line on standard error.
"""

from __future__ import annotations

import argparse
import contextlib
import glob
import logging
import os
import sys
from typing import Optional, Sequence

PROGRAM = "python3 -m quillet.dask"
FAILURE = 2


class UsageError(Exception):
    pass


def _parse(argv: Optional[Sequence[str]]) -> argparse.Namespace:
    parser = argparse.ArgumentParser(
        prog=PROGRAM,
        description="Summarise JSON-lines files on a Dask cluster, writing for each "
        "exactly what quillet-cli --jsonl writes.",
    )
    parser.add_argument("inputs", nargs="+", metavar="INPUT",
                        help="JSON-lines files or glob patterns")
    parser.add_argument("-o", "--output", required=True, metavar="OUTPUT",
                        help="the output file, or the folder of outputs")
    where = parser.add_mutually_exclusive_group()
    where.add_argument("--scheduler", metavar="ADDRESS",
                       help="the scheduler of a running cluster, e.g. tcp://host:8786")
    where.add_argument("--workers", type=int, metavar="N",
                       help="worker processes of the local cluster (default: one per core)")
    parser.add_argument("-l", "--length-class", type=int, default=0, metavar="N",
                        choices=range(-1, 4),
                        help="the class of lines without one: -1 to 3 (default 0)")
    parser.add_argument("--progress", action=argparse.BooleanOptionalAction, default=None,
                        help="draw a progress bar on standard error "
                        "(default: when it is a terminal)")
    args = parser.parse_args(argv)
    if args.workers is not None and args.workers < 1:
        parser.error("--workers must be 1 or more")
    return args


def _inputs(patterns: Sequence[str]) -> list[str]:
    """The input files: every pattern expanded, each file that must exist."""
    paths = []
    for pattern in patterns:
        if glob.has_magic(pattern):
            matches = sorted(glob.glob(pattern))
            if not matches:
                raise UsageError(f"{pattern}: no file matches")
            paths.extend(matches)
        else:
            paths.append(pattern)
    for path in paths:
        if os.path.isdir(path):
            raise UsageError(f"{path}: is a folder")
        if not os.access(path, os.R_OK):
            reason = "No such file or directory" if not os.path.exists(path) else "Permission denied"
            raise UsageError(f"{path}: {reason}")
    return paths


def _outputs(inputs: Sequence[str], output: str) -> list[str]:
    """The output of each input: OUTPUT itself, or a file in folder OUTPUT
    named as the input."""
    if len(inputs) == 1 and not output.endswith("/") and not os.path.isdir(output):
        outputs = [output]
    else:
        os.makedirs(output, exist_ok=True)
        outputs = [os.path.join(output, os.path.basename(path)) for path in inputs]
    folder = os.path.dirname(outputs[0]) or "."
    if not os.access(folder, os.W_OK):
        reason = "Permission denied" if os.path.isdir(folder) else "No such file or directory"
        raise UsageError(f"{folder}: {reason}")
    seen = {}
    for path, out in zip(inputs, outputs):
        if out in seen:
            raise UsageError(f"{path}: its output {out} is also that of {seen[out]}")
        seen[out] = path
        if os.path.exists(out) and os.path.samefile(path, out):
            raise UsageError(f"{path}: the output would overwrite it")
    return outputs


def _connect(args: argparse.Namespace, stack: contextlib.ExitStack):
    """A client of the cluster at --scheduler, or of a new local one; both
    closed when stack closes."""
    from distributed import Client, LocalCluster

    import dask

    if args.scheduler:
        return stack.enter_context(Client(args.scheduler))
    # On one machine the comms need no compression, and the workers no
    # statistical profiler (it samples every thread 100 times a second).
    dask.config.set({"distributed.comm.compression": None,
                     "distributed.worker.profile.enabled": False})
    # The first workers are forked from this process, which has imported
    # distributed already and does nothing else yet; each spawned worker
    # would import it again. A worker restarted later, while this process
    # runs other threads, is spawned as usual.
    with dask.config.set({"distributed.worker.multiprocessing-method": "fork"}):
        cluster = stack.enter_context(
            LocalCluster(
                n_workers=args.workers or os.cpu_count() or 1,
                threads_per_worker=1,
                processes=True,
                host="127.0.0.1",
                dashboard_address=None,
                silence_logs=logging.ERROR,
            )
        )
    # The results come straight from the workers, not through the scheduler.
    return stack.enter_context(Client(cluster, direct_to_workers=True))


def main(argv: Optional[Sequence[str]] = None) -> int:
    args = _parse(argv)
    try:
        inputs = _inputs(args.inputs)
        outputs = _outputs(inputs, args.output)
    except UsageError as e:
        return _complain(str(e))
    except OSError as e:
        return _complain(_reason(e))

    from quillet.dask import summarize_files

    progress = args.progress if args.progress is not None else sys.stderr.isatty()
    try:
        with contextlib.ExitStack() as stack:
            client = _connect(args, stack)
            summarize_files(inputs, outputs, client, args.length_class, progress)
    except OSError as e:
        return _complain(_reason(e))
    except Exception as e:  # the cluster's failures: no result to write
        return _complain(f"the run failed: {type(e).__name__}: {e}")
    return 0


def _reason(error: OSError) -> str:
    """The message of a failed file operation: "NAME: reason"."""
    if error.filename is None:
        return error.strerror or str(error)
    return f"{error.filename}: {error.strerror or error}"


def _complain(message: str) -> int:
    print(f"{PROGRAM}: {message}", file=sys.stderr)
    return FAILURE


if __name__ == "__main__":
    sys.exit(main())
