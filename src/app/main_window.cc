#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "app/app_icon.h"
#include "pipeline/summarize.h"
#include "samples/samples.h"

namespace quillet {

namespace {

const QString kCaption = QStringLiteral("Quilletv1.3");
// The initial caption of 标签3; the term stages write it with one blank.
const QString kKeywordsCaption = QStringLiteral("关键词：  ");
const char* const kLengthClasses[] = {"<200字 英文x2", "<300字 英文x2",
                                      "<400字 英文x2", "<500字 英文x2"};

// The controls' own font, and the Song-style face of 编辑框1; the first
// family that the system has wins.
QFont ControlFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);
  return font;
}

QFont SummaryFont() {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"),
                    QStringLiteral("serif")});
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(14);
  font.setWeight(QFont::Normal);
  return font;
}

QFont ContactFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  font.setItalic(true);
  return font;
}

void SetColours(QWidget* box, const QColor& text) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Base, Qt::white);
  box->setPalette(palette);
}

QPlainTextEdit* MultiLineBox(QWidget* parent, Qt::ScrollBarPolicy vertical) {
  auto* box = new QPlainTextEdit(parent);
  box->setVerticalScrollBarPolicy(vertical);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  box->setTabChangesFocus(true);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  return box;
}

QLabel* Label(QWidget* parent, const QString& text) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);  // a field may hold "<b>" and the like
  label->setText(text);
  return label;
}

QPushButton* Button(QWidget* parent, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setAutoDefault(false);
  return button;
}

void Place(QWidget* control, const char* name, int left, int top, int width, int height) {
  control->setObjectName(QString::fromUtf8(name));
  control->setGeometry(left, top, width, height);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      seam_(FieldSeam::Controls{}) {
  setWindowTitle(kCaption);
  setWindowIcon(AppIcon());
  setFont(ControlFont());
  setFixedSize(kClientWidth, kClientHeight);
  CreateControls();
  seam_ = FieldSeam(FieldSeam::Controls{title_box_, content_box_, output_box_, combo1_,
                                        label1_, label2_, label3_});

  connect(start_, &QPushButton::clicked, this, &MainWindow::Summarize);
  connect(button1_, &QPushButton::clicked, this, &MainWindow::ClearFields);
  connect(button2_, &QPushButton::clicked, this, &MainWindow::LoadChineseSample);
  connect(button3_, &QPushButton::clicked, this, &MainWindow::LoadEnglishSample);
  ws_.process_events = [this] { ProcessEvents(); };

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen->availableGeometry()));
  }
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
  const Sample& initial = GetSample(SampleName::kInitial);

  button3_ = Button(this, QStringLiteral("例文三 英文"));
  Place(button3_, "按钮3", 120, 480, 104, 24);
  button2_ = Button(this, QStringLiteral("例文二 4千字"));
  Place(button2_, "按钮2", 8, 480, 104, 24);
  label2_ = Label(this, QString());
  Place(label2_, "标签2", 544, 464, 160, 24);
  start_ = Button(this, QStringLiteral("开始摘要"));
  Place(start_, "摘要", 613, 8, 96, 24);

  combo1_ = new QComboBox(this);
  combo1_->setEditable(false);
  for (const char* item : kLengthClasses) combo1_->addItem(QString::fromUtf8(item));
  combo1_->setCurrentIndex(0);
  Place(combo1_, "组合框1", 482, 10, 118, 20);

  label4_ = Label(this, FromField(ContactLine()));
  label4_->setFont(ContactFont());
  Place(label4_, "标签4", 464, 488, 240, 24);
  label3_ = Label(this, kKeywordsCaption);
  label3_->setEnabled(false);
  label3_->setVisible(false);
  Place(label3_, "标签3", 9, 465, 287, 24);
  button1_ = Button(this, QStringLiteral("清空"));
  Place(button1_, "按钮1", 312, 8, 48, 24);
  label1_ = Label(this, QString());
  Place(label1_, "标签1", 544, 8, 56, 24);

  title_box_ = new QLineEdit(FromField(initial.title), this);
  SetColours(title_box_, Qt::black);
  title_box_->setCursorPosition(0);
  Place(title_box_, "标题框", 8, 8, 304, 24);
  content_box_ = MultiLineBox(this, Qt::ScrollBarAlwaysOn);
  SetColours(content_box_, Qt::black);
  content_box_->setPlainText(FromField(initial.text));
  Place(content_box_, "内容框", 8, 40, 704, 264);
  output_box_ = MultiLineBox(this, Qt::ScrollBarAlwaysOff);
  SetColours(output_box_, QColor(128, 0, 0));
  output_box_->setFont(SummaryFont());
  Place(output_box_, "编辑框1", 8, 312, 704, 152);

  for (QLabel* label : {label1_, label2_, label3_, label4_}) label->setFocusPolicy(Qt::NoFocus);
  // Tab stops in table order; creation order already gives it, stating it
  // keeps it so if the code above is ever reordered.
  QWidget* const tab_stops[] = {button3_, button2_, start_,      combo1_,
                                button1_, title_box_, content_box_, output_box_};
  for (std::size_t i = 0; i + 1 < std::size(tab_stops); ++i) {
    setTabOrder(tab_stops[i], tab_stops[i + 1]);
  }
}

void MainWindow::Summarize() {
  if (running_) return;
  seam_.ReadControls(ws_.fields);
  SetRunning(true);
  ::quillet::Summarize(ws_);
  seam_.WriteOutputs(ws_.fields);
  SetRunning(false);
  if (close_requested_) {
    close_requested_ = false;
    close();
  }
}

void MainWindow::ClearFields() {
  if (running_) return;
  content_box_->clear();
  output_box_->clear();
  title_box_->clear();
  label1_->clear();
  label2_->clear();
  label3_->clear();
}

void MainWindow::LoadChineseSample() {
  if (running_) return;
  const Sample& sample = GetSample(SampleName::kChinese);
  title_box_->setText(FromField(sample.title));
  title_box_->setCursorPosition(0);
  output_box_->clear();
  content_box_->setPlainText(FromField(sample.text));
}

void MainWindow::LoadEnglishSample() {
  if (running_) return;
  const Sample& sample = GetSample(SampleName::kEnglish);
  title_box_->setText(FromField(sample.title));
  title_box_->setCursorPosition(0);
  content_box_->setPlainText(FromField(sample.text));
  output_box_->clear();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Esc reaches the window when the focused control has no use for it, as
  // in a dialog; an open drop-down list takes it first and just closes.
  if (event->matches(QKeySequence::Cancel)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running_) {
    // The run still reads the workspace and the controls: close when it ends.
    close_requested_ = true;
    event->ignore();
    return;
  }
  event->accept();
}

void MainWindow::SetRunning(bool running) {
  // A disabled button loses the focus; give it back when the run is over.
  if (running) focus_before_run_ = focusWidget();
  running_ = running;
  for (QPushButton* button : {start_, button1_, button2_, button3_}) button->setEnabled(!running);
  title_box_->setReadOnly(running);
  content_box_->setReadOnly(running);
  output_box_->setReadOnly(running);
  if (!running && focus_before_run_ && isActiveWindow()) {
    focus_before_run_->setFocus(Qt::OtherFocusReason);
  }
}

void MainWindow::ProcessEvents() {
  // The stages pace their calls themselves; each one is a round.
  seam_.WriteOutputs(ws_.fields);
  QCoreApplication::processEvents();
  seam_.ReadLengthClass(ws_.fields);
}

int RunMainWindow(StartMode mode) {
  MainWindow window;
  window.show();
  if (mode == StartMode::kTestCloseDuringRun) {
    QTimer::singleShot(0, &window, [&window] {
      QTimer::singleShot(0, &window, &QWidget::close);
      window.Summarize();
    });
  }
  return QApplication::exec();
}

}  // namespace quillet
