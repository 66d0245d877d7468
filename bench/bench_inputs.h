// The named inputs of the benchmark table: the three built-in samples,
// joined Chinese and English articles of 64 KB, 256 KB and 1 MB, and real
// articles repeated, or with long runs of marks, of 256 KB and 1 MB.
//
// Every tool of the benchmark suite (the timings, the peak memory, the
// batch file) builds its inputs here, so that one name means the same bytes
// everywhere. Cost: a generated input takes time linear in its size to
// build; a sample is a copy.

#ifndef QUILLET_BENCH_BENCH_INPUTS_H_
#define QUILLET_BENCH_BENCH_INPUTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/workspace.h"
#include "text/gbk_text.h"

namespace quillet::bench {

struct BenchInput {
  std::string name;
  std::optional<Language> language;  // as Summarize chooses it
  GbkText title;
  GbkText text;
  // Whether the table times the plain term statistics on it as well: they
  // are quadratic, and would take far too long on the bigger inputs.
  bool times_reference = false;
};

// Every input name, in the order of the table: "InitialText",
// "ChineseSampleText", "EnglishSampleText", "zh-64K", "zh-256K", "zh-1M",
// "en-64K", "en-256K", "en-1M", then "zh-repeat-", "en-repeat-",
// "zh-marks-" and "en-marks-" each with "256K" and "1M".
const std::vector<std::string>& BenchInputNames();

// The input of that name; nullopt for a name not in BenchInputNames().
std::optional<BenchInput> MakeBenchInput(std::string_view name);

// A workspace holding the input in its fields as the window would: title,
// article, and the first length class selected.
Workspace WorkspaceFor(const BenchInput& input);

}  // namespace quillet::bench

#endif  // QUILLET_BENCH_BENCH_INPUTS_H_
