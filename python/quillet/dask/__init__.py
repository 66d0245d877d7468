"""Quillet batches on a Dask cluster (Debian's python3-distributed).

Two ways in:

* :func:`summarize_bag` maps a Dask bag of JSON lines (or of dicts) to the
  result lines that ``quillet-cli --jsonl`` writes for them, numbered by
  their place in the bag.
* :func:`summarize_files` (what ``python3 -m quillet.dask`` runs) summarises
  JSON-lines files on the cluster of a ``distributed.Client`` and writes,
  for each, exactly the bytes ``quillet-cli --jsonl`` writes. The calling
  process reads the files itself and sends their lines to the workers in
  chunks, so the workers need no shared file system; a bounded number of
  chunks is in flight at a time, so memory here stays bounded whatever the
  size of the input; results are written in input order as they arrive.
  The scheduler reruns the chunks of a worker that dies, and each chunk's
  result is written once, so no line is lost or doubled.

Every worker needs the package quillet installed (or on its PYTHONPATH).
"""

from __future__ import annotations

import collections
import contextlib
import json
import operator
import os
import sys
from typing import TYPE_CHECKING, Any, Iterator, Optional, Sequence, Union

import quillet
from quillet import _quillet

if TYPE_CHECKING:
    import dask.bag

# dask and distributed are imported where they are used, so that a command
# that stops at a usage error does not wait for them.

__all__ = ["summarize_bag", "summarize_files"]

# A chunk, the unit of work sent to a worker, holds at most this many lines
# and (but for a single line) bytes: large enough that the cost of a task
# (some milliseconds of the scheduler's and this process's time, on the
# cores the workers use too when the cluster is local) is small beside the
# summaries, small enough to spread over the workers.
CHUNK_LINES = 256
CHUNK_BYTES = 4 << 20


def _check_length_class(length_class: Any) -> None:
    if not isinstance(length_class, int) or isinstance(length_class, bool):
        raise TypeError(
            f"length_class must be an int, not {type(length_class).__name__}"
        )
    if not -1 <= length_class <= 3:
        raise ValueError(f"length_class must be -1, 0, 1, 2 or 3, not {length_class}")


def _element_line(element: Any) -> Union[str, bytes, None]:
    """The JSON line an element of a bag stands for; None if there is none."""
    if isinstance(element, (str, bytes)):
        return element
    if isinstance(element, dict):
        try:
            return json.dumps(element, ensure_ascii=False, allow_nan=False)
        except (TypeError, ValueError):
            return None
    return None


def _summarize_partition(elements: list, first_number: int, length_class: int) -> list:
    results = []
    for number, element in enumerate(elements, first_number):
        line = _element_line(element)
        if line is None:
            results.append(
                _quillet._jsonl_error_line(
                    number, "not a JSON line (str or bytes) or a dict of JSON values"
                )
            )
        else:
            results.append(quillet.jsonl_line(line, number, length_class))
    return results


def summarize_bag(bag: dask.bag.Bag, length_class: int = 0) -> dask.bag.Bag:
    """Maps a bag of JSON lines to a bag of result lines, lazily.

    Each element is one input line as ``quillet-cli --jsonl`` reads it (a
    str or bytes, with or without its final LF, as ``dask.bag.read_text``
    gives them) or a dict, taken as the JSON object it would be written as.
    The result, in the same order, is the text of the line that
    ``quillet-cli --jsonl`` writes for it (without its LF), numbered by the
    element's place in the bag from 1; an element that is broken (not JSON,
    no "article", not a str, bytes or dict, ...) gives its error line.
    length_class is the class of elements without one (quillet-cli -l).
    """
    import dask
    import dask.bag

    _check_length_class(length_class)
    results = []
    first: Any = 1
    for partition in bag.to_delayed():
        elements = dask.delayed(list)(partition)
        results.append(
            dask.delayed(_summarize_partition, pure=True)(elements, first, length_class)
        )
        first = dask.delayed(operator.add)(first, dask.delayed(len)(elements))
    return dask.bag.from_delayed(results)


# --- files ------------------------------------------------------------------


def _read_lines(path: str) -> Iterator[Union[bytes, int]]:
    """The lines of a file as quillet-cli --jsonl cuts them: at LF, a final
    line without LF included, the empty rest after the last LF not. A line
    over MAX_INPUT_BYTES is not kept: its length stands in its place."""
    limit = quillet.MAX_INPUT_BYTES
    with open(path, "rb") as f:
        while True:
            line = f.readline(limit + 1)
            if not line:
                return
            if line.endswith(b"\n"):
                yield line[:-1]
            elif len(line) <= limit:
                yield line  # the last line, without LF
            else:
                length = len(line)
                while True:
                    piece = f.readline(1 << 20)
                    if not piece:
                        break
                    if piece.endswith(b"\n"):
                        length += len(piece) - 1
                        break
                    length += len(piece)
                yield length


def _chunks(paths: Sequence[str]) -> Iterator[tuple[int, int, int, bytes, tuple, int]]:
    """(file index, number of the first line, number of lines, the lines
    joined by LF, the (place, length) of each line too long to keep, input
    bytes they stand for) for every chunk of every file, in order. A line
    too long to keep stands as an empty line in the joined bytes."""
    for index, path in enumerate(paths):
        lines: list = []
        too_long: list = []
        held = 0  # bytes of the lines kept in the chunk
        consumed = 0  # bytes of input, line breaks and long lines included
        first = 1
        for line in _read_lines(path):
            size = len(line) if isinstance(line, bytes) else 0
            if lines and (len(lines) == CHUNK_LINES or held + size > CHUNK_BYTES):
                yield index, first, len(lines), b"\n".join(lines), tuple(too_long), consumed
                first += len(lines)
                lines, too_long, held, consumed = [], [], 0, 0
            if isinstance(line, bytes):
                lines.append(line)
            else:
                too_long.append((len(lines), line))
                lines.append(b"")
            held += size
            consumed += (size if isinstance(line, bytes) else line) + 1
        if lines:
            yield index, first, len(lines), b"\n".join(lines), tuple(too_long), consumed


def _summarize_chunk(joined: bytes, too_long: tuple, first_number: int,
                     length_class: int) -> bytes:
    """The task a worker runs: the result lines of a chunk, LF-terminated.
    The chunk travels as one bytes object, which the cluster sends as it is,
    rather than as a list of lines that it would pickle one by one."""
    lines: list = joined.split(b"\n")
    for place, length in too_long:
        lines[place] = length
    return _quillet._jsonl_chunk(lines, first_number, length_class)


class _Progress:
    """Dask's text progress bar on standard error, fed with the bytes of
    input whose results are written: the chunks come and go while the run
    goes on, so the bar counts them here rather than by the keys the
    scheduler holds at one time."""

    def __init__(self, client: Any, total: int):
        from distributed.diagnostics.progressbar import TextProgressBar

        self._bar = TextProgressBar(
            [], scheduler=client.scheduler.address, loop=client.loop, start=False
        )
        self._total = total
        self._done = 0

    def advance(self, amount: int) -> None:
        self._done = min(self._total, self._done + amount)
        with contextlib.redirect_stdout(sys.stderr):
            self._bar._draw_bar(remaining=self._total - self._done, all=self._total)

    def close(self) -> None:
        with contextlib.redirect_stdout(sys.stderr):
            self._bar._draw_stop()


class _Outputs:
    """The output files, opened one after the other as results reach them
    (an input without lines gets an empty output all the same)."""

    def __init__(self, paths: Sequence[str]):
        self._paths = paths
        self._index = -1
        self._file: Optional[Any] = None

    def file(self, index: int) -> Any:
        while self._index < index:
            self.close()
            self._index += 1
            self._file = open(self._paths[self._index], "wb")
        return self._file

    def finish(self) -> None:
        self.file(len(self._paths) - 1)
        self.close()

    def close(self) -> None:
        if self._file is not None:
            self._file.close()
            self._file = None


def summarize_files(
    inputs: Sequence[str],
    outputs: Sequence[str],
    client: Any = None,
    length_class: int = 0,
    progress: bool = False,
    in_flight: Optional[int] = None,
) -> int:
    """Summarises JSON-lines files on a Dask cluster; returns the lines written.

    For each path of inputs, the output of the same place in outputs gets
    exactly the bytes that ``quillet-cli --jsonl -l length_class INPUT``
    writes. client is a ``distributed.Client`` (default: the current one).
    At most in_flight chunks (default: three per worker thread, at least
    four) are on the cluster at a time. progress draws Dask's progress bar
    on standard error. Raises OSError when an input cannot be read or an
    output written, and what the cluster raises when a chunk fails for good
    (for instance a chunk that killed several workers in turn).
    """
    if len(inputs) != len(outputs):
        raise ValueError("inputs and outputs must be of the same length")
    _check_length_class(length_class)
    if client is None:
        from distributed import get_client

        client = get_client()
    if in_flight is None:
        threads = sum(client.nthreads().values())
        in_flight = max(4, 3 * threads)

    bar = _Progress(client, sum(os.path.getsize(p) for p in inputs)) if progress else None
    out = _Outputs(outputs)
    pending: collections.deque = collections.deque()
    written = 0

    def write_oldest() -> None:
        nonlocal written
        index, count, size, future = pending.popleft()
        out.file(index).write(future.result())
        written += count
        if bar is not None:
            bar.advance(size)

    try:
        for index, first, count, joined, too_long, size in _chunks(inputs):
            if len(pending) >= in_flight:
                write_oldest()
            future = client.submit(
                _summarize_chunk, joined, too_long, first, length_class, pure=False
            )
            pending.append((index, count, size, future))
        while pending:
            write_oldest()
        out.finish()
    finally:
        out.close()
        for *_, future in pending:
            future.cancel()
        if bar is not None:
            bar.close()
    return written
