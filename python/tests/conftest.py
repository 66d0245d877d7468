"""Shared helpers of the Python tests: quillet-cli, the reference the
package is held to, and the articles kept in the repository."""

import json
import os
import pathlib
import subprocess

import pytest

CLI = os.environ.get("QUILLET_CLI", "quillet-cli")
SOURCE = pathlib.Path(
    os.environ.get("QUILLET_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2])
)
LENGTH_CLASSES = (-1, 0, 1, 2, 3)


def run_cli(*args, stdin=b""):
    """quillet-cli's standard output for args; it must exit with 0."""
    done = subprocess.run([CLI, *map(str, args)], input=stdin, capture_output=True, check=True)
    return done.stdout


def cli_json(*args, stdin=b""):
    return json.loads(run_cli("--json", *args, stdin=stdin))


def corpus_articles():
    """(name, title, article) of every article file kept in the repository:
    the first line is the title."""
    articles = []
    for path in sorted((SOURCE / "bench" / "corpus").glob("*.txt")):
        text = path.read_text(encoding="utf-8")
        title, _, article = text.partition("\n")
        articles.append((path.stem, title, article))
    return articles


# Lines of a batch, broken ones among them, each as bytes without its LF;
# the first starts with a byte-order mark.
BROKEN_BATCH = [
    b"\xef\xbb\xbf" + json.dumps({"title": "临江开通智慧公交线路",
                "article": "临江市今天开通了第一条智慧公交线路。市民说，智慧公交的速度比普通公交快很多。"
                           "\n专家指出，智慧公交是城市交通发展的方向。智慧公交的车辆可以自动避让行人。",
                "length_class": 1}, ensure_ascii=False).encode(),
    b"",
    b"  \t",
    b"{not json",
    b"[1, 2]",
    b'{"title": "no article"}',
    b'{"article": 5}',
    b'{"article": "The rail line opened.", "length_class": 7}',
    b'{"article": "The rail line opened.", "length_class": true}',
    b'{"article": "nul \\u0000 here"}',
    b'{"article": "bad \xff\xfe utf-8"}',
    json.dumps({"article": "Emoji \U0001F600 and e: the city opened the line. " * 3,
                "title": "City \u20ac line"}).encode(),
    b'{"article": "The riders praised the quiet trains and the clean stations.\\r\\n'
    b'The city plans three more lines by the end of the decade."}\r',
    b'{"article": "NO SUMMARY: 123 456"}',
]


@pytest.fixture
def broken_batch_file(tmp_path):
    """A batch file of BROKEN_BATCH, its last line without LF."""
    path = tmp_path / "broken.jsonl"
    path.write_bytes(b"\n".join(BROKEN_BATCH))
    return path
