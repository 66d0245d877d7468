"""quillet.dask against quillet-cli --jsonl, byte for byte: the bag mapping,
the command on a local cluster, and a run that loses a worker halfway."""

import json
import os
import signal
import subprocess
import sys
import time

import dask
import dask.bag
import psutil
import pytest

import quillet
from conftest import BROKEN_BATCH, corpus_articles, run_cli
from quillet.dask import summarize_bag


def dask_command(*args):
    return [sys.executable, "-m", "quillet.dask", *map(str, args)]


def test_summarize_bag_numbers_lines_across_partitions(broken_batch_file):
    expected = run_cli("--jsonl", "-l", 1, broken_batch_file).decode().splitlines()
    lines = [line.decode("utf-8", "surrogateescape") for line in BROKEN_BATCH]
    bag = dask.bag.from_sequence(lines, npartitions=4)
    with dask.config.set(scheduler="sync"):
        assert summarize_bag(bag, length_class=1).compute() == expected

    # Dicts are taken as the JSON objects they would be written as.
    items = [{"article": a, "title": t, "length_class": 3} for _, t, a in corpus_articles()[:3]]
    items.append({"article": float("nan")})
    items.append(7)
    results = summarize_bag(dask.bag.from_sequence(items, npartitions=2)).compute(
        scheduler="sync")
    for number, item in enumerate(items[:3], 1):
        assert results[number - 1] == quillet.jsonl_line(
            json.dumps(item, ensure_ascii=False), number)
    assert [json.loads(r)["line"] for r in results] == [1, 2, 3, 4, 5]
    assert "error" in json.loads(results[3]) and "error" in json.loads(results[4])


@pytest.fixture
def batch_files(tmp_path):
    """Two batch files of the corpus articles and broken lines, and an
    empty one, in a folder of their own."""
    folder = tmp_path / "archive"
    folder.mkdir()
    articles = [json.dumps({"title": t, "article": a, "length_class": i % 5 - 1},
                           ensure_ascii=False).encode()
                for i, (_, t, a) in enumerate(corpus_articles())]
    (folder / "a.jsonl").write_bytes(b"\n".join(articles * 3 + BROKEN_BATCH))
    (folder / "b.jsonl").write_bytes(b"\n".join(BROKEN_BATCH + articles) + b"\n")
    (folder / "c.jsonl").write_bytes(b"")
    return folder


def test_the_command_writes_what_the_cli_writes(tmp_path, batch_files):
    out = tmp_path / "out"
    done = subprocess.run(
        dask_command(batch_files / "*.jsonl", "-o", f"{out}/", "--workers", 2, "-l", 2,
                     "--progress"),
        capture_output=True, timeout=240)
    assert done.returncode == 0, done.stderr.decode()
    assert "Completed" in done.stderr.decode()
    for name in ("a.jsonl", "b.jsonl", "c.jsonl"):
        expected = run_cli("--jsonl", "-l", 2, batch_files / name)
        assert (out / name).read_bytes() == expected, name


def test_the_command_runs_on_the_cluster_at_an_address(tmp_path, broken_batch_file):
    from distributed import LocalCluster

    with LocalCluster(n_workers=1, processes=False, protocol="tcp://", host="127.0.0.1",
                      dashboard_address=None) as cluster:
        output = tmp_path / "out.jsonl"
        done = subprocess.run(
            dask_command(broken_batch_file, "-o", output, "--scheduler",
                         cluster.scheduler_address),
            capture_output=True, timeout=120)
    assert done.returncode == 0, done.stderr.decode()
    assert output.read_bytes() == run_cli("--jsonl", broken_batch_file)


def test_the_command_refuses_bad_inputs_before_starting(tmp_path, broken_batch_file):
    cases = [
        ([tmp_path / "missing.jsonl", "-o", tmp_path / "x"], "missing.jsonl: No such file"),
        ([tmp_path / "*.none", "-o", tmp_path / "x"], "no file matches"),
        ([tmp_path, "-o", tmp_path / "x"], "is a folder"),
        ([broken_batch_file, "-o", tmp_path / "none" / "x"], "none: No such file"),
    ]
    for args, message in cases:
        done = subprocess.run(dask_command(*args), capture_output=True, timeout=60)
        assert done.returncode == 2 and message in done.stderr.decode()
    done = subprocess.run(dask_command(tmp_path, "-o", "x", "--workers", 1, "--scheduler", "y"),
                          capture_output=True, timeout=60)
    assert done.returncode == 2


def worker_processes(command):
    """The worker processes of a command's local cluster: its children,
    but for a helper of multiprocessing."""
    try:
        return [p for p in command.children()
                if "resource_tracker" not in " ".join(p.cmdline())]
    except psutil.Error:  # one of them ended meanwhile
        return []


def test_a_worker_killed_halfway_loses_no_line(tmp_path, batch_files):
    """Every line must come out once, in order, though one of the two worker
    processes is killed while the run is halfway."""
    lines = (batch_files / "a.jsonl").read_bytes().split(b"\n")
    source = tmp_path / "long.jsonl"
    source.write_bytes(b"\n".join(lines * 30))
    expected = run_cli("--jsonl", source)
    output = tmp_path / "long.out"
    run = subprocess.Popen(dask_command(source, "-o", output, "--workers", 2),
                           stderr=subprocess.PIPE)
    try:
        me = psutil.Process(run.pid)
        killed = None
        deadline = time.monotonic() + 180
        while killed is None and time.monotonic() < deadline and run.poll() is None:
            written = output.stat().st_size if output.exists() else 0
            workers = worker_processes(me)
            if written > len(expected) // 3 and len(workers) == 2:
                killed = workers[0]
                os.kill(killed.pid, signal.SIGKILL)
            time.sleep(0.01)
        assert killed is not None, "the run ended before a worker could be killed"
        assert output.stat().st_size < len(expected)
        _, stderr = run.communicate(timeout=180)
    finally:
        if run.poll() is None:
            run.kill()
    assert run.returncode == 0, stderr.decode()
    assert output.read_bytes() == expected


def test_lines_too_long_to_send_give_their_error_lines(tmp_path):
    """A line over the input limit is not sent to a worker; its length
    stands in its place in the chunk, among the lines around it."""
    from distributed import Client, LocalCluster

    from quillet.dask import summarize_files

    big = b'{"article": "' + b"a" * quillet.MAX_INPUT_BYTES + b'"}'
    source = tmp_path / "long-lines.jsonl"
    source.write_bytes(b"\n".join([BROKEN_BATCH[0], big, b"", big, BROKEN_BATCH[-1]]))
    output = tmp_path / "out.jsonl"
    with LocalCluster(n_workers=1, processes=False, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        assert summarize_files([str(source)], [str(output)], client) == 5
    assert output.read_bytes() == run_cli("--jsonl", source)
