// quillet_bench: Summarize end to end on every benchmark input, and the term
// statistics stage alone on the Chinese and English ones. The stage runs on
// a workspace prepared once by the stages before it, so that the fast
// version and the plain reference (where the test tree has one, and only on
// the inputs small enough for it) time the very same work.
//
// Names: Summarize/<input>, ChineseTerms/<input>, ChineseTermsReference/
// <input>, EnglishWords/<input>, EnglishWordsReference/<input>. Each run
// carries the input's byte count in the counter "bytes".

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "pipeline/summarize.h"
#include "terms/chinese_terms.h"
#include "terms/english_words.h"

#if __has_include("reference/chinese_terms.h")
#include "reference/chinese_terms.h"
#define QUILLET_BENCH_CHINESE_REFERENCE 1
#endif
#if __has_include("reference/english_words.h")
#include "reference/english_words.h"
#define QUILLET_BENCH_ENGLISH_REFERENCE 1
#endif

namespace quillet::bench {
namespace {

using Stage = void (*)(Workspace&);

void SummarizeStage(Workspace& ws) { Summarize(ws); }

// The term statistics step of the Chinese path includes the character
// list, which the extraction walks.
void ChineseTermsStage(Workspace& ws) {
  BuildCharList(ws);
  ExtractChineseTerms(ws);
}
void EnglishWordsStage(Workspace& ws) { CountEnglishWords(ws); }

#ifdef QUILLET_BENCH_CHINESE_REFERENCE
void ChineseTermsReferenceStage(Workspace& ws) {
  reference::BuildCharList(ws);
  reference::ExtractChineseTerms(ws);
}
#else
constexpr Stage ChineseTermsReferenceStage = nullptr;
#endif
#ifdef QUILLET_BENCH_ENGLISH_REFERENCE
void EnglishWordsReferenceStage(Workspace& ws) {
  reference::CountEnglishWords(ws);
}
#else
constexpr Stage EnglishWordsReferenceStage = nullptr;
#endif

// The term statistics of a language under their benchmark name, fast and
// plain (null when the test tree holds no reference).
struct TermStage {
  std::string name;
  Stage fast;
  Stage reference;
};

TermStage TermStageOf(Language language) {
  if (language == Language::kChinese) {
    return {"ChineseTerms", ChineseTermsStage, ChineseTermsReferenceStage};
  }
  return {"EnglishWords", EnglishWordsStage, EnglishWordsReferenceStage};
}

// The workspace as the term statistics find it in a summary run: WorkText
// holds the counting text, SentenceTable the trimmed sentences.
Workspace PrepareTermStage(const BenchInput& input, Language language) {
  Workspace ws = WorkspaceFor(input);
  ws.WorkText = ws.fields.content;
  PrepareCountingText(ws, language);
  return ws;
}

// Times stage on a fresh copy of prepared per iteration; making and
// dropping the copy is not timed.
void TimeStage(benchmark::State& state, const Workspace& prepared,
               Stage stage, std::size_t bytes) {
  for (auto _ : state) {
    state.PauseTiming();
    auto ws = std::make_unique<Workspace>(prepared);
    state.ResumeTiming();
    stage(*ws);
    benchmark::DoNotOptimize(ws->TermTable.RowCount());
    state.PauseTiming();
    ws.reset();
    state.ResumeTiming();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

struct Case {
  std::string name;
  Workspace prepared;
  Stage stage;
  std::size_t bytes;
};

void AddCase(std::vector<std::unique_ptr<Case>>& cases, std::string name,
             Workspace prepared, Stage stage, std::size_t bytes) {
  cases.push_back(std::make_unique<Case>(
      Case{std::move(name), std::move(prepared), stage, bytes}));
}

std::vector<std::unique_ptr<Case>> MakeCases() {
  std::vector<std::unique_ptr<Case>> cases;
  for (const std::string& name : BenchInputNames()) {
    const BenchInput input = *MakeBenchInput(name);
    const std::size_t bytes = input.text.size();
    AddCase(cases, "Summarize/" + name, WorkspaceFor(input), SummarizeStage,
            bytes);
    if (!input.language) continue;
    const Workspace prepared = PrepareTermStage(input, *input.language);
    const TermStage stage = TermStageOf(*input.language);
    AddCase(cases, stage.name + "/" + name, prepared, stage.fast, bytes);
    if (stage.reference != nullptr && input.times_reference) {
      AddCase(cases, stage.name + "Reference/" + name, prepared,
              stage.reference, bytes);
    }
  }
  return cases;
}

}  // namespace
}  // namespace quillet::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const auto cases = quillet::bench::MakeCases();
  for (const auto& c : cases) {
    const quillet::bench::Case* each = c.get();
    benchmark::RegisterBenchmark(each->name.c_str(),
                                 [each](benchmark::State& state) {
                                   quillet::bench::TimeStage(
                                       state, each->prepared, each->stage,
                                       each->bytes);
                                 })
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
