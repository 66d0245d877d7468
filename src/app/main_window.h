// The main window of Quillet: the title, article and length class that a
// summary reads, the output box and status line it writes, and the four
// commands behind the buttons. The window owns the Workspace of its runs and
// binds the Workspace's window fields to its controls through a FieldSeam.
//
// A summary runs on the window's thread inside the click on 摘要. The term
// stages hand control back through Workspace::ProcessEvents, at the end of
// each pass and every few tens of milliseconds of work in between; the
// window then shows the fields that changed and lets Qt handle waiting
// events, so that every progress step is painted. While a run is on, the
// buttons are disabled and the boxes read-only, and a request to close is
// kept until the run ends.

#ifndef QUILLET_APP_MAIN_WINDOW_H_
#define QUILLET_APP_MAIN_WINDOW_H_

#include <QPointer>
#include <QWidget>

#include "app/field_seam.h"
#include "workspace/workspace.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillet {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Size of the client area; the frame adds 3 pixels at the sides and the
  // bottom and a 25-pixel title bar, for an outer size of 723 x 546.
  static constexpr int kClientWidth = 717;
  static constexpr int kClientHeight = 518;

  // Creates the window with its controls and initial contents, centred on
  // the primary screen; the caller shows it.
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The commands behind 摘要, 按钮1, 按钮2 and 按钮3. Each does nothing while
  // a summary runs.
  void Summarize();
  void ClearFields();
  void LoadChineseSample();
  void LoadEnglishSample();

  bool running() const { return running_; }
  // The window fields as the run in progress, or the last run, holds them.
  const WindowFields& fields() const { return ws_.fields; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void SetRunning(bool running);
  // Workspace::ProcessEvents of the window's runs.
  void ProcessEvents();

  Workspace ws_;
  // Created in table order, which is also the order of tab stops.
  QPushButton* button3_ = nullptr;       // 按钮3
  QPushButton* button2_ = nullptr;       // 按钮2
  QLabel* label2_ = nullptr;             // 标签2
  QPushButton* start_ = nullptr;         // 摘要
  QComboBox* combo1_ = nullptr;          // 组合框1
  QLabel* label4_ = nullptr;             // 标签4
  QLabel* label3_ = nullptr;             // 标签3
  QPushButton* button1_ = nullptr;       // 按钮1
  QLabel* label1_ = nullptr;             // 标签1
  QLineEdit* title_box_ = nullptr;       // 标题框
  QPlainTextEdit* content_box_ = nullptr;  // 内容框
  QPlainTextEdit* output_box_ = nullptr;   // 编辑框1
  FieldSeam seam_;

  bool running_ = false;
  bool close_requested_ = false;
  QPointer<QWidget> focus_before_run_;
};

// How the start routine begins. kNormal is the only mode of the program in
// use. kTestCloseDuringRun is a hook for the window's tests alone (the
// program takes it from the environment variable
// QUILLET_TEST_CLOSE_DURING_RUN), so that they can drive the real program
// from outside: as soon as the event loop runs, the window summarises what
// it shows, and the run's first round of event handling asks the window to
// close, as the close button would.
enum class StartMode { kNormal, kTestCloseDuringRun };

// The start routine: creates and shows the main window and runs the event
// loop until the window closes. Needs a QApplication; returns the exit code,
// 0.
int RunMainWindow(StartMode mode = StartMode::kNormal);

}  // namespace quillet

#endif  // QUILLET_APP_MAIN_WINDOW_H_
