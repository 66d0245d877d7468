"""The module quillet against quillet-cli: the same inputs must give the
same results, and bad arguments the errors that name them."""

import concurrent.futures
import json
import pickle

import pytest

import quillet
from conftest import BROKEN_BATCH, LENGTH_CLASSES, cli_json, corpus_articles, run_cli


def with_replaced(cli_object, replaced=0):
    return {**cli_object, "replaced": replaced}


def assert_same(summary, expected):
    """summary holds exactly expected, the --json object plus "replaced",
    members in the same order."""
    d = summary.to_dict()
    assert list(d) == list(expected)
    assert d == expected
    assert summary.language == expected["language"]
    assert summary.summary == expected["summary"]
    assert summary.status == expected["status"]
    assert summary.keywords == expected["keywords"]
    assert summary.replaced == expected["replaced"]
    for table in ("sentences", "terms", "summary_rows"):
        assert getattr(summary, table) == tuple(tuple(row) for row in expected[table])


@pytest.mark.parametrize("name,title,article", corpus_articles(), ids=lambda v: str(v)[:12])
def test_summarize_matches_cli_on_every_corpus_article(tmp_path, name, title, article):
    path = tmp_path / f"{name}.txt"
    path.write_text(article, encoding="utf-8")
    for length_class in LENGTH_CLASSES:
        expected = with_replaced(cli_json("-t", title, "-l", length_class, path))
        assert_same(quillet.summarize(article, title, length_class), expected)
        assert expected["language"] in ("chinese", "english")


@pytest.mark.parametrize("name", ["initial", "chinese", "english"])
def test_summarize_matches_cli_on_the_samples(name):
    sample = quillet.samples[name]
    for length_class in LENGTH_CLASSES:
        expected = with_replaced(cli_json("--sample", name, "-l", length_class))
        assert_same(quillet.summarize(sample.article, sample.title, length_class), expected)


# Inputs the conversion must treat as quillet-cli does: line breaks of every
# kind, characters GBK lacks, an article of neither language, GBK bytes.
ODD_INPUTS = [
    ("Emoji \U0001F600 here.\rThe city opened the line, officials said today.\r\n" * 4,
     "Line \u20ac \U0001F680", [], 5),
    ("市民说，智慧公交的速度比普通公交快很多。\n" * 3, "", [], 0),
    ("NO SUMMARY 123", "", [], 0),
    ("", "", [], 0),
    ("记者在滨河路站看到，不少市民排队体验这种新型的智慧公交车。\r\n".encode("gbk") * 3,
     "智慧公交".encode("gbk"), ["-e", "gbk"], 0),
]


@pytest.mark.parametrize("article,title,options,replaced", ODD_INPUTS)
def test_summarize_converts_inputs_as_the_cli_does(tmp_path, article, title, options, replaced):
    path = tmp_path / "article"
    path.write_bytes(article if isinstance(article, bytes) else article.encode())
    title_path = tmp_path / "title"
    title_path.write_bytes(title if isinstance(title, bytes) else title.encode())
    expected = json.loads(run_cli("--json", *options, "--title-file", title_path, path))
    assert_same(quillet.summarize(article, title), with_replaced(expected, replaced))


def test_jsonl_line_matches_cli_byte_for_byte(broken_batch_file):
    expected = run_cli("--jsonl", "-l", 2, "-j", 2, broken_batch_file).split(b"\n")
    assert expected[-1] == b"" and len(expected) == len(BROKEN_BATCH) + 1
    for number, line in enumerate(BROKEN_BATCH, 1):
        want = expected[number - 1].decode()
        assert quillet.jsonl_line(line, number, 2) == want
        # The line as text read from a file, LF and all, gives the same.
        text = line.decode("utf-8", "surrogateescape") + "\n"
        assert quillet.jsonl_line(text, number, length_class=2) == want


def test_a_line_over_16_mib_gives_the_cli_error_line(tmp_path):
    line = b'{"article": "' + b"e" * (16 << 20) + b'"}'
    path = tmp_path / "big.jsonl"
    path.write_bytes(line + b"\n")
    assert quillet.jsonl_line(line, 1) + "\n" == run_cli("--jsonl", path).decode()
    assert "too large" in quillet.jsonl_line(line, 1)


ARTICLE = quillet.samples["english"].article
BAD_CALLS = [
    (lambda: quillet.summarize(5), TypeError, "article must be str or bytes, not int"),
    (lambda: quillet.summarize(ARTICLE, title=None), TypeError, "title must be str or bytes"),
    (lambda: quillet.summarize(ARTICLE, length_class="1"), TypeError, "length_class must be an int"),
    (lambda: quillet.summarize(ARTICLE, length_class=True), TypeError, "length_class must be an int"),
    (lambda: quillet.summarize(ARTICLE, length_class=4), ValueError, "length_class must be -1, 0, 1, 2 or 3, not 4"),
    (lambda: quillet.summarize(ARTICLE, length_class=-2**70), ValueError, "length_class"),
    (lambda: quillet.summarize("a\0b"), ValueError, "article: NUL character (U+0000) at index 1"),
    (lambda: quillet.summarize(ARTICLE, b"t\0"), ValueError, "title: NUL byte at offset 1"),
    (lambda: quillet.summarize("\ud800e"), ValueError, "article: holds a lone surrogate"),
    (lambda: quillet.summarize("e" * ((16 << 20) + 1)), ValueError,
     "article: too large (16777217 bytes; the limit is 16 MiB)"),
    (lambda: quillet.summarize_many("abc"), TypeError, "items must be an iterable"),
    (lambda: quillet.summarize_many(5), TypeError, "items must be an iterable"),
    (lambda: quillet.summarize_many([], jobs=0), ValueError, "jobs must be at least 1, not 0"),
    (lambda: quillet.summarize_many([], jobs=2.0), TypeError, "jobs must be an int"),
    (lambda: quillet.summarize_many([], length_class=9), ValueError, "length_class must be"),
    (lambda: quillet.jsonl_line(b"{}", 0), ValueError, "number must be at least 1, not 0"),
    (lambda: quillet.jsonl_line(["{}"], 1), TypeError, "line must be str or bytes"),
    (lambda: quillet.jsonl_line("{}", 1, length_class=5), ValueError, "length_class must be"),
]


@pytest.mark.parametrize("call,error,message", BAD_CALLS)
def test_bad_arguments_raise_errors_that_name_them(call, error, message):
    with pytest.raises(error) as caught:
        call()
    assert message in str(caught.value)


def test_summarize_many_keeps_order_and_puts_errors_in_place():
    chinese = quillet.samples["chinese"]
    items = [
        {"article": chinese.article, "title": chinese.title, "length_class": 2, "other": 1},
        ARTICLE,
        42,
        {"title": "no article"},
        {"article": ARTICLE, "length_class": 4},
        {"article": "nul\0"},
        {"article": ARTICLE, "title": 3},
        {"article": "e" * ((16 << 20) + 1)},
        ARTICLE.encode("gbk"),
    ]
    results = quillet.summarize_many(iter(items), jobs=2, length_class=1)
    assert len(results) == len(items)
    assert results[0] == quillet.summarize(chinese.article, chinese.title, 2)
    assert results[1] == quillet.summarize(ARTICLE, length_class=1)
    assert results[8] == results[1]
    expected_errors = {
        2: (TypeError, "items[2] must be a dict, str or bytes, not int"),
        3: (ValueError, 'items[3] has no "article"'),
        4: (ValueError, 'items[4]["length_class"] must be -1, 0, 1, 2 or 3, not 4'),
        5: (ValueError, 'items[5]["article"]: NUL character (U+0000) at index 3'),
        6: (TypeError, 'items[6]["title"] must be str or bytes, not int'),
        7: (ValueError, 'items[7]["article"]: too large'),
    }
    for index, (error, message) in expected_errors.items():
        assert type(results[index]) is error
        assert message in str(results[index])


def test_threads_give_the_results_of_one_thread():
    inputs = [(article, title, length_class)
              for _, title, article in corpus_articles()[:6]
              for length_class in LENGTH_CLASSES]
    alone = [quillet.summarize(*args) for args in inputs]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        assert list(pool.map(lambda args: quillet.summarize(*args), inputs)) == alone
    items = [{"title": t, "article": a, "length_class": c} for a, t, c in inputs]
    assert quillet.summarize_many(items, jobs=3) == alone
    assert quillet.summarize_many(items, jobs=1) == alone


def test_summary_is_immutable_and_pickles():
    summary = quillet.summarize(ARTICLE)
    with pytest.raises(AttributeError):
        summary.summary = "changed"
    with pytest.raises(AttributeError):
        summary.extra = 1
    summary.to_dict()["summary"] = "changed"
    assert summary.to_dict()["summary"] != "changed"
    copy = pickle.loads(pickle.dumps(summary))
    assert copy == summary and hash(copy) == hash(summary)
    assert summary.language in repr(summary)


def test_samples_and_version_are_those_of_the_cli():
    assert set(quillet.samples) == {"initial", "chinese", "english"}
    assert run_cli("--version").decode().split() == ["quillet-cli", quillet.__version__]
    for name, sample in quillet.samples.items():
        assert sample.title and "\r" not in sample.article
