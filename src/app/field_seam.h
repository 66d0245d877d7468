// The seam between the window's Qt controls and the window fields of the
// Workspace: the pipeline sees only GBK texts with CR LF line breaks and an
// integer selection, the controls hold Unicode with LF line breaks.
//
// Converting a text costs time linear in its length. The seam remembers what
// it last showed in the output controls, so that writing the fields back
// many times during a run touches a control only when its field changed.

#ifndef QUILLET_APP_FIELD_SEAM_H_
#define QUILLET_APP_FIELD_SEAM_H_

#include <QString>

#include "workspace/workspace.h"
#include "text/gbk_text.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillet {

// The GBK field form of a control's text: every character GBK cannot hold
// (an emoji, a lone surrogate, U+0000) becomes one "?", and every line
// break (LF, CR LF, a lone CR) becomes CR LF.
GbkText ToField(const QString& text);

// The control form of a field: a byte sequence that is no GBK character
// becomes U+FFFD, one per byte; CR LF and a lone CR become LF.
QString FromField(const GbkText& field);

class FieldSeam {
 public:
  // The controls behind the window fields; the seam does not own them and
  // they must outlive it.
  struct Controls {
    QLineEdit* title = nullptr;           // 标题框
    QPlainTextEdit* content = nullptr;    // 内容框
    QPlainTextEdit* output = nullptr;     // 编辑框1
    QComboBox* length_class = nullptr;    // 组合框1
    QLabel* label1 = nullptr;             // 标签1
    QLabel* status = nullptr;             // 标签2
    QLabel* keywords = nullptr;           // 标签3
  };

  explicit FieldSeam(const Controls& controls) : controls_(controls) {}

  // Every field from its control, before a run; also takes the outputs as
  // the values the controls show.
  void ReadControls(WindowFields& fields);

  // The selection of 组合框1 alone (-1 for none), which the user may change
  // while a run lets the window handle events.
  void ReadLengthClass(WindowFields& fields) const;

  // 编辑框1, 标签2 and 标签3 from their fields, each only if its field
  // differs from what the control was last given or read from.
  void WriteOutputs(const WindowFields& fields);

 private:
  Controls controls_;
  GbkText shown_output_;
  GbkText shown_status_;
  GbkText shown_keywords_;
};

}  // namespace quillet

#endif  // QUILLET_APP_FIELD_SEAM_H_
