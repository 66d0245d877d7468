// quillet._quillet: the summary pipeline as a Python extension module. It
// is a thin layer over the command line library: inputs are turned into
// field texts by the same code as quillet-cli's, a run is the same
// RunArticle, and every result is the same JSON (WorkspaceJson, the batch's
// result line), so the module and the command line agree byte for byte.
//
// The GIL is released while a summary runs; summarize_many runs its items
// on threads of its own, one workspace per item. Costs what the runs cost,
// plus a copy of each result into Python objects.

#include <pybind11/pybind11.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/cli_input.h"
#include "cli/json_output.h"
#include "cli/jsonl_line.h"
#include "cli/run_article.h"
#include "codec/gbk_codec.h"
#include "samples/samples.h"
#include "workspace/workspace.h"

namespace py = pybind11;

namespace quillet::python {

namespace {

using Json = nlohmann::ordered_json;

// A failure found in an argument or an item: the Python exception type to
// raise (or to hand back in the item's place) and its message.
struct Problem {
  PyObject* type = nullptr;
  std::string message;
};

std::string TypeName(py::handle value) { return Py_TYPE(value.ptr())->tp_name; }

// A str or bytes argument, kept alive by owner while its bytes are used
// (also while the GIL is released: str and bytes objects never change).
struct TextArg {
  py::object owner;
  std::string_view bytes;
  cli::Encoding encoding = cli::Encoding::kUtf8;
};

// Reads value, named name in messages, as the command line reads an input:
// a str as UTF-8, bytes as GBK. Refuses what quillet-cli refuses: another
// type, a NUL character, a lone surrogate (not UTF-8) and more than
// kMaxInputBytes bytes.
std::optional<Problem> ReadText(py::handle value, const std::string& name, TextArg* arg) {
  arg->owner = py::reinterpret_borrow<py::object>(value);
  if (PyBytes_Check(value.ptr())) {
    char* data = nullptr;
    Py_ssize_t size = 0;
    PyBytes_AsStringAndSize(value.ptr(), &data, &size);
    arg->bytes = std::string_view(data, static_cast<std::size_t>(size));
    arg->encoding = cli::Encoding::kGbk;
    if (const void* nul = std::memchr(data, 0, arg->bytes.size())) {
      return Problem{PyExc_ValueError,
                     name + ": NUL byte at offset " +
                         std::to_string(static_cast<const char*>(nul) - data)};
    }
  } else if (PyUnicode_Check(value.ptr())) {
    const Py_ssize_t nul =
        PyUnicode_FindChar(value.ptr(), 0, 0, PyUnicode_GetLength(value.ptr()), 1);
    if (nul >= 0) {
      return Problem{PyExc_ValueError,
                     name + ": NUL character (U+0000) at index " + std::to_string(nul)};
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
    if (data == nullptr) {
      PyErr_Clear();
      return Problem{PyExc_ValueError,
                     name + ": holds a lone surrogate, which is not UTF-8"};
    }
    arg->bytes = std::string_view(data, static_cast<std::size_t>(size));
    arg->encoding = cli::Encoding::kUtf8;
  } else {
    return Problem{PyExc_TypeError,
                   name + " must be str or bytes, not " + TypeName(value)};
  }
  if (arg->bytes.size() > cli::kMaxInputBytes) {
    return Problem{PyExc_ValueError, name + ": " + cli::TooLargeReason(arg->bytes.size())};
  }
  return std::nullopt;
}

// An int (not a bool, which JSON keeps apart from numbers) from low to
// high.
std::optional<Problem> ReadInt(py::handle value, const std::string& name,
                               long long low, long long high, long long* out) {
  if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr())) {
    return Problem{PyExc_TypeError, name + " must be an int, not " + TypeName(value)};
  }
  int overflow = 0;
  *out = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  if (overflow == 0 && *out >= low && *out <= high) return std::nullopt;
  const std::string shown = py::str(value);
  if (low == -1 && high == 3) {
    return Problem{PyExc_ValueError, name + " must be -1, 0, 1, 2 or 3, not " + shown};
  }
  return Problem{PyExc_ValueError,
                 name + " must be at least " + std::to_string(low) + ", not " + shown};
}

std::optional<Problem> ReadLengthClass(py::handle value, const std::string& name, int* out) {
  long long number = 0;
  std::optional<Problem> problem = ReadInt(value, name, -1, 3, &number);
  if (!problem) *out = static_cast<int>(number);
  return problem;
}

[[noreturn]] void Raise(const Problem& problem) {
  PyErr_SetString(problem.type, problem.message.c_str());
  throw py::error_already_set();
}

void RaiseIf(const std::optional<Problem>& problem) {
  if (problem) Raise(*problem);
}

// The Python value of a JSON value; objects become dicts in member order.
py::object ToPython(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null:
      return py::none();
    case Json::value_t::boolean:
      return py::bool_(value.get<bool>());
    case Json::value_t::number_integer:
      return py::int_(value.get<Json::number_integer_t>());
    case Json::value_t::number_unsigned:
      return py::int_(value.get<Json::number_unsigned_t>());
    case Json::value_t::number_float:
      return py::float_(value.get<double>());
    case Json::value_t::string: {
      const std::string& text = value.get_ref<const std::string&>();
      PyObject* str = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()),
                                           "replace");
      if (str == nullptr) throw py::error_already_set();
      return py::reinterpret_steal<py::object>(str);
    }
    case Json::value_t::array: {
      py::list list;
      for (const Json& element : value) list.append(ToPython(element));
      return list;
    }
    case Json::value_t::object: {
      py::dict dict;
      for (const auto& [key, member] : value.items()) dict[py::str(key)] = ToPython(member);
      return dict;
    }
    default:
      return py::none();
  }
}

// Rows of a work table as a tuple of tuples of cell texts.
py::tuple RowsToPython(const Json& rows) {
  py::tuple out(rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    py::tuple row(rows[r].size());
    for (std::size_t c = 0; c < rows[r].size(); ++c) row[c] = ToPython(rows[r][c]);
    out[r] = std::move(row);
  }
  return out;
}

// The result of one run: the --json object of quillet-cli plus "replaced".
// Immutable, so it is shared, never copied.
class Summary {
 public:
  explicit Summary(Json json) : json_(std::make_shared<const Json>(std::move(json))) {}

  const Json& json() const { return *json_; }
  py::object Member(const char* key) const { return ToPython(json_->at(key)); }
  py::tuple Rows(const char* key) const { return RowsToPython(json_->at(key)); }
  std::string Text() const { return json_->dump(-1, ' ', false, Json::error_handler_t::replace); }

 private:
  std::shared_ptr<const Json> json_;
};

// One summary run, from the arguments as read to its result or problem.
struct Job {
  TextArg article;
  TextArg title;
  int length_class = 0;
  std::optional<Problem> problem;  // found before the run, or during it
  Json result;
};

// Runs job, without the GIL. Never throws: a failure becomes the job's
// problem.
void RunJob(Job& job) {
  if (job.problem) return;
  try {
    cli::ArticleInput input;
    input.length_class = job.length_class;
    std::size_t replaced = 0;
    std::string error;
    if (!cli::ToFieldText(job.article.bytes, job.article.encoding, "article", &input.article,
                          &replaced, &error) ||
        !cli::ToFieldText(job.title.bytes, job.title.encoding, "title", &input.title,
                          &replaced, &error)) {
      job.problem = Problem{PyExc_ValueError, error};
      return;
    }
    Workspace ws;
    const std::optional<Language> language = cli::RunArticle(input, ws);
    // The command line writes this JSON as text; here it becomes the
    // document that Summary reads.
    job.result = Json::parse(cli::WorkspaceJson(ws, language));
    job.result["replaced"] = replaced;
  } catch (const std::bad_alloc&) {
    job.problem = Problem{PyExc_MemoryError, "out of memory"};
  } catch (const std::exception& e) {
    job.problem = Problem{PyExc_RuntimeError, std::string("internal error: ") + e.what()};
  }
}

Summary Summarize(py::handle article, py::handle title, py::handle length_class) {
  Job job;
  RaiseIf(ReadText(article, "article", &job.article));
  RaiseIf(ReadText(title, "title", &job.title));
  RaiseIf(ReadLengthClass(length_class, "length_class", &job.length_class));
  {
    py::gil_scoped_release release;
    RunJob(job);
  }
  RaiseIf(job.problem);
  return Summary(std::move(job.result));
}

// One item of summarize_many, numbered index, read into job (or its
// problem set).
void ReadItem(py::handle item, std::size_t index, int default_length_class, Job* job) {
  const std::string name = "items[" + std::to_string(index) + "]";
  job->length_class = default_length_class;
  if (PyUnicode_Check(item.ptr()) || PyBytes_Check(item.ptr())) {
    job->problem = ReadText(item, name, &job->article);
    return;
  }
  if (!PyDict_Check(item.ptr())) {
    job->problem = Problem{PyExc_TypeError,
                           name + " must be a dict, str or bytes, not " + TypeName(item)};
    return;
  }
  const py::dict dict = py::reinterpret_borrow<py::dict>(item);
  if (!dict.contains("article")) {
    job->problem = Problem{PyExc_ValueError, name + " has no \"article\""};
    return;
  }
  job->problem = ReadText(dict["article"], name + "[\"article\"]", &job->article);
  if (!job->problem && dict.contains("title")) {
    job->problem = ReadText(dict["title"], name + "[\"title\"]", &job->title);
  }
  if (!job->problem && dict.contains("length_class")) {
    job->problem =
        ReadLengthClass(dict["length_class"], name + "[\"length_class\"]", &job->length_class);
  }
}

// Runs every job on up to threads threads; jobs taken in order.
void RunJobs(std::vector<Job>& jobs, std::size_t threads) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) RunJob(jobs[i]);
  };
  threads = std::min(threads, jobs.size());
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
}

py::list SummarizeMany(py::handle items, py::handle jobs, py::handle length_class) {
  if (PyUnicode_Check(items.ptr()) || PyBytes_Check(items.ptr()) ||
      PyDict_Check(items.ptr())) {
    Raise(Problem{PyExc_TypeError,
                  "items must be an iterable of dicts or strings, not " + TypeName(items)});
  }
  std::size_t threads = std::max(1u, std::thread::hardware_concurrency());
  if (!jobs.is_none()) {
    long long number = 0;
    RaiseIf(ReadInt(jobs, "jobs", 1, 1 << 16, &number));
    threads = static_cast<std::size_t>(number);
  }
  int default_length_class = 0;
  RaiseIf(ReadLengthClass(length_class, "length_class", &default_length_class));

  py::iterator iterator;
  try {
    iterator = py::iter(items);
  } catch (const py::error_already_set&) {
    Raise(Problem{PyExc_TypeError,
                  "items must be an iterable of dicts or strings, not " + TypeName(items)});
  }
  std::vector<Job> work;
  for (py::handle item : iterator) {
    work.emplace_back();
    ReadItem(item, work.size() - 1, default_length_class, &work.back());
  }
  {
    py::gil_scoped_release release;
    RunJobs(work, threads);
  }
  py::list results;
  for (Job& job : work) {
    if (job.problem) {
      results.append(py::reinterpret_borrow<py::object>(job.problem->type)(job.problem->message));
    } else {
      results.append(py::cast(Summary(std::move(job.result))));
    }
  }
  return results;
}

// A JSON line as the bytes the command line reads: a str as UTF-8 (with
// the bytes a str read with errors="surrogateescape" stands for), without
// one final LF.
std::string LineBytes(py::handle line) {
  std::string bytes;
  if (PyBytes_Check(line.ptr())) {
    bytes = std::string(py::reinterpret_borrow<py::bytes>(line));
  } else if (PyUnicode_Check(line.ptr())) {
    PyObject* encoded = PyUnicode_AsEncodedString(line.ptr(), "utf-8", "surrogateescape");
    if (encoded == nullptr) {
      PyErr_Clear();
      Raise(Problem{PyExc_ValueError, "line: holds a lone surrogate, which is not UTF-8"});
    }
    bytes = std::string(py::reinterpret_steal<py::bytes>(encoded));
  } else {
    Raise(Problem{PyExc_TypeError, "line must be str or bytes, not " + TypeName(line)});
  }
  if (bytes.ends_with('\n')) bytes.pop_back();
  return bytes;
}

py::str Utf8ToPython(const std::string& text) {
  return py::reinterpret_steal<py::str>(ToPython(Json(text)).release());
}

py::str JsonlLine(py::handle line, py::handle number, py::handle length_class) {
  const std::string bytes = LineBytes(line);
  long long line_number = 0;
  RaiseIf(ReadInt(number, "number", 1, LLONG_MAX, &line_number));
  int default_length_class = 0;
  RaiseIf(ReadLengthClass(length_class, "length_class", &default_length_class));
  std::string result;
  {
    py::gil_scoped_release release;
    result = cli::JsonlResultLine(bytes, bytes.size(), static_cast<std::size_t>(line_number),
                                  default_length_class);
  }
  return Utf8ToPython(result);
}

// The result lines of consecutive input lines, numbered from first_number,
// each ending in LF, as one bytes object. An int in place of a line is
// the length of a line too large to send (it gives its error line).
py::bytes JsonlChunk(const py::list& lines, std::size_t first_number, int length_class) {
  struct Line {
    std::string_view bytes;
    std::size_t length;
  };
  std::vector<Line> chunk;
  for (py::handle line : lines) {
    if (PyBytes_Check(line.ptr())) {
      char* data = nullptr;
      Py_ssize_t size = 0;
      PyBytes_AsStringAndSize(line.ptr(), &data, &size);
      chunk.push_back({std::string_view(data, static_cast<std::size_t>(size)),
                       static_cast<std::size_t>(size)});
    } else {
      chunk.push_back({std::string_view(), line.cast<std::size_t>()});
    }
  }
  std::string out;
  {
    py::gil_scoped_release release;
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      out += cli::JsonlResultLine(chunk[i].bytes, chunk[i].length, first_number + i,
                                  length_class);
      out += '\n';
    }
  }
  return py::bytes(out);
}

// The built-in samples, name -> (title, article), as UTF-8 text with LF
// line breaks.
py::dict Samples() {
  py::dict samples;
  for (const char* name : {"initial", "chinese", "english"}) {
    const Sample& sample = GetSample(*SampleByName(name));
    samples[name] = py::make_tuple(Utf8ToPython(GbkToUtf8(ToLf(sample.title.view()))),
                                   Utf8ToPython(GbkToUtf8(ToLf(sample.text.view()))));
  }
  return samples;
}

py::str SummaryRepr(const Summary& summary) {
  py::str text = summary.Member("summary");
  const std::size_t shown = 40;
  if (py::len(text) > shown) {
    text = py::str(text[py::slice(0, shown, 1)]) + py::str("\u2026");
  }
  return py::str("Summary(language={!r}, summary={!r}, replaced={!r})")
      .format(summary.Member("language"), text, summary.Member("replaced"));
}

}  // namespace

}  // namespace quillet::python

PYBIND11_MODULE(_quillet, m) {
  using namespace quillet;
  using namespace quillet::python;
  m.doc() =
      "The summary pipeline of Quillet, built from the same C++ as quillet-cli.\n\n"
      "Use the package quillet, which re-exports what is public here.";
  m.attr("__version__") = QUILLET_VERSION;
  m.attr("MAX_INPUT_BYTES") = cli::kMaxInputBytes;

  py::class_<Summary>(m, "Summary",
                      "The immutable result of one summary run.\n\n"
                      "Its members are those of the object that quillet-cli --json prints\n"
                      "for the same input, plus replaced; every table cell is the text the\n"
                      "table holds.")
      .def_property_readonly(
          "language", [](const Summary& s) { return s.Member("language"); },
          "\"chinese\", \"english\", or None for an article of neither language.")
      .def_property_readonly(
          "summary", [](const Summary& s) { return s.Member("summary"); }, "The summary text.")
      .def_property_readonly(
          "status", [](const Summary& s) { return s.Member("status"); },
          "The status caption: the lengths of article and summary.")
      .def_property_readonly(
          "keywords", [](const Summary& s) { return s.Member("keywords"); },
          "The keyword caption.")
      .def_property_readonly(
          "sentences", [](const Summary& s) { return s.Rows("sentences"); },
          "The sentence table, rows of (text, score, position), in score order.")
      .def_property_readonly(
          "terms", [](const Summary& s) { return s.Rows("terms"); },
          "The term table, rows of (term, count).")
      .def_property_readonly(
          "summary_rows", [](const Summary& s) { return s.Rows("summary_rows"); },
          "The summary table, rows of (sentence, order key), in article order.")
      .def_property_readonly(
          "replaced", [](const Summary& s) { return s.Member("replaced"); },
          "How many characters of article and title GBK cannot hold (each became \"?\").")
      .def(
          "to_dict", [](const Summary& s) { return ToPython(s.json()); },
          "A new dict: exactly the object quillet-cli --json prints for the same\n"
          "input (tables as lists of lists), plus \"replaced\".")
      .def("__repr__", &SummaryRepr)
      .def(
          "__eq__",
          [](const Summary& a, py::object b) {
            return py::isinstance<Summary>(b) && a.json() == b.cast<const Summary&>().json();
          },
          py::is_operator())
      .def("__hash__", [](const Summary& s) { return std::hash<std::string>()(s.Text()); })
      .def(py::pickle([](const Summary& s) { return s.Text(); },
                      [](const std::string& text) { return Summary(Json::parse(text)); }));

  m.def("summarize", &Summarize, py::arg("article"), py::arg("title") = "",
        py::arg("length_class") = 0,
        "Summarizes one article and returns a Summary.\n\n"
        "article and title are str (taken as quillet-cli takes UTF-8 input: every\n"
        "line break becomes CR LF, a character GBK cannot hold becomes \"?\") or\n"
        "bytes (GBK, as quillet-cli -e gbk). length_class is -1 (none selected)\n"
        "or 0..3. Raises TypeError for an argument of another type, ValueError for\n"
        "a length_class out of range, a text holding NUL, a str holding a lone\n"
        "surrogate, or a text over 16 MiB. The GIL is released during the run.");

  m.def("summarize_many", &SummarizeMany, py::arg("items"), py::arg("jobs") = py::none(),
        py::arg("length_class") = 0,
        "Summarizes many articles on jobs threads and returns a list in input order.\n\n"
        "Each item is a dict {\"article\", \"title\", \"length_class\"} (only \"article\"\n"
        "is required; other keys are ignored) or an article as str or bytes.\n"
        "length_class is the class of items without one; jobs defaults to one\n"
        "thread per core. An item that is wrong (another type, no \"article\", a\n"
        "length_class out of range, a NUL character, over 16 MiB) gives, in its\n"
        "place, the TypeError or ValueError that summarize would raise for it,\n"
        "as an exception object, not raised; the other items are summarized all\n"
        "the same. The GIL is released while the items run.");

  m.def("jsonl_line", &JsonlLine, py::arg("line"), py::arg("number"),
        py::arg("length_class") = 0,
        "The result line that quillet-cli --jsonl writes for one input line.\n\n"
        "line is the input line as str or bytes (one final LF is dropped); number\n"
        "is its line number, from 1; length_class is the class of a line without\n"
        "one (quillet-cli -l). Returns the text without a line break; a broken\n"
        "line gives its error line, as in the batch.");

  m.def("_jsonl_chunk", &JsonlChunk, py::arg("lines"), py::arg("first_number"),
        py::arg("length_class"),
        "The result lines (each ending in LF, as bytes) of consecutive input\n"
        "lines (bytes) numbered from first_number; an int in place of a line is\n"
        "the length of a line too large to send.");

  m.def(
      "_jsonl_error_line",
      [](std::size_t number, const std::string& message) {
        return Utf8ToPython(cli::JsonlErrorLine(number, message));
      },
      py::arg("number"), py::arg("message"),
      "The error line of the batch for line number: {\"line\": N, \"error\": message}.");

  m.def("_samples", &Samples,
        "The built-in samples: name -> (title, article), text with LF line breaks.");
}
