// Workspace: everything one summary run touches. The text that the stages
// rewrite in turn (WorkText), the character list of the Chinese path
// (CharList), the three work tables, the window fields as plain values, and
// the ProcessEvents callback through which a front end gets control back
// during the long stages.
//
// Every stage is a function over a Workspace& (and the language); nothing is
// process-wide, so separate workspaces may run on separate threads. So the
// Workspace sits below the stage folders (prep/, terms/, select/), which
// include it, and the pipeline above them fills it and runs them.

#ifndef QUILLET_WORKSPACE_WORKSPACE_H_
#define QUILLET_WORKSPACE_WORKSPACE_H_

#include <functional>

#include "tables/work_table.h"
#include "text/character_list.h"
#include "text/gbk_text.h"

namespace quillet {

enum class Language { kChinese, kEnglish };

// The window fields that the pipeline reads and writes, held apart from any
// window. A front end copies its controls in before a run and out after it
// (and inside ProcessEvents).
struct WindowFields {
  GbkText title;        // text of 标题框
  GbkText content;      // text of 内容框, the article
  GbkText output;       // text of 编辑框1, the summary
  int length_class = 0; // current selection of 组合框1: -1 for none, 0..3
  GbkText label1;       // caption of 标签1
  GbkText status;       // caption of 标签2: progress, then the length status
  GbkText keywords;     // caption of 标签3
};

class Workspace {
 public:
  Workspace();

  GbkText WorkText;
  CharacterList CharList;
  WorkTable SentenceTable;  // columns "句", "a", "b"
  WorkTable TermTable;      // columns "词", "a"
  WorkTable SummaryTable;   // columns "调整句", "a"
  WindowFields fields;

  // Set by a front end to let its window handle waiting events; by default
  // nothing happens.
  std::function<void()> process_events;

  // Calls process_events if one is set.
  void ProcessEvents() {
    if (process_events) process_events();
  }
};

}  // namespace quillet

#endif  // QUILLET_WORKSPACE_WORKSPACE_H_
