"""Quillet: an extractive summary of one Chinese or English article.

    >>> import quillet
    >>> s = quillet.summarize(article, title="...", length_class=1)
    >>> s.summary, s.language, s.to_dict()

The pipeline is the C++ of quillet-cli, so a Summary holds exactly what
``quillet-cli --json`` prints for the same input, and :func:`jsonl_line`
gives exactly the line ``quillet-cli --jsonl`` writes. Batches run on
threads with :func:`summarize_many`, and on a Dask cluster with
:mod:`quillet.dask`.
"""

import types
import typing

from quillet._quillet import (
    MAX_INPUT_BYTES as MAX_INPUT_BYTES,
    Summary as Summary,
    __version__ as __version__,
    jsonl_line as jsonl_line,
    summarize as summarize,
    summarize_many as summarize_many,
)
from quillet import _quillet


class Sample(typing.NamedTuple):
    """A built-in sample: its title and its article (line breaks LF)."""

    title: str
    article: str


samples: typing.Mapping[str, Sample] = types.MappingProxyType(
    {name: Sample(*texts) for name, texts in _quillet._samples().items()}
)
"""The built-in samples by name: "initial" (the article the window opens
with), "chinese" and "english"; the same texts as ``quillet-cli --sample``."""

__all__ = [
    "MAX_INPUT_BYTES",
    "Sample",
    "Summary",
    "jsonl_line",
    "samples",
    "summarize",
    "summarize_many",
]
