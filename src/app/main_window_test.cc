// Tests of the main window on Qt's offscreen platform: the controls and
// their initial contents, the four commands, the seam to the workspace
// fields, the window during a run, and the way out.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "app/field_seam.h"
#include "app/main_window.h"
#include "pipeline/summarize.h"
#include "samples/samples.h"
#include "text/text_ops.h"

namespace quillet {
namespace {

// The summary the pipeline makes of a sample, run on a bare workspace.
WindowFields ExpectedRun(const Sample& sample, int length_class) {
  Workspace ws;
  ws.fields.title = sample.title;
  ws.fields.content = sample.text;
  ws.fields.length_class = length_class;
  Summarize(ws);
  return ws.fields;
}

WindowFields ExpectedRun(const GbkText& title, const GbkText& content, int length_class) {
  return ExpectedRun(Sample{title, content}, length_class);
}

// A Chinese article of at least `bytes` GBK bytes: copies of the Chinese
// sample, each "。" of copy n preceded by n, so that no sentence repeats one
// of an earlier copy (a repeated sentence would be dropped at once).
GbkText BigChineseArticle(std::size_t bytes) {
  const GbkText full_stop("\xA1\xA3");  // 。
  const GbkText& sample = GetSample(SampleName::kChinese).text;
  GbkText article;
  for (int32_t copy = 1; article.size() < bytes; ++copy) {
    article.Append(ReplaceAll(sample, full_stop, ConcatText(NumberToText(copy), full_stop)));
    article.Append(std::string_view("\r\n"));
  }
  return article;
}

// Watches the main window on its way out: whether a close request came
// while a run was on, and the status line when the window hid.
class CloseWatch : public QObject {
 public:
  bool close_while_running = false;
  QString status_when_hidden;

  bool eventFilter(QObject* target, QEvent* event) override {
    auto* window = qobject_cast<MainWindow*>(target);
    if (window == nullptr) return false;
    if (event->type() == QEvent::Close && window->running()) close_while_running = true;
    if (event->type() == QEvent::Hide) {
      status_when_hidden = window->findChild<QLabel*>(QStringLiteral("标签2"))->text();
    }
    return false;
  }
};

QString Status(int article, int summary) {
  return QStringLiteral("原文%1字，摘要%2字").arg(article).arg(summary);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // The window under test, shown; torn down after every test.
  std::unique_ptr<MainWindow> window_;

  template <typename T = QWidget>
  T* Control(const char* name) {
    return window_->findChild<T*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
  }
  QLineEdit* TitleBox() { return Control<QLineEdit>("标题框"); }
  QPlainTextEdit* ContentBox() { return Control<QPlainTextEdit>("内容框"); }
  QPlainTextEdit* OutputBox() { return Control<QPlainTextEdit>("编辑框1"); }
  QLabel* Label(const char* name) { return Control<QLabel>(name); }
  void Click(const char* button) { QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton); }
  // Puts text on the clipboard and pastes it with Ctrl+V over all of the
  // box's text. (The offscreen platform's clipboard lives in the process.)
  void Paste(QWidget* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QVERIFY(QApplication::clipboard()->text() == text);
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) edit->selectAll();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  }

 private slots:
  void init() {
    QApplication::setQuitOnLastWindowClosed(false);
    window_ = std::make_unique<MainWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void windowIsFixedCentredAndClosable() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Quilletv1.3"));
    QCOMPARE(window_->size(), QSize(717, 518));
    QCOMPARE(window_->minimumSize(), QSize(717, 518));
    QCOMPARE(window_->maximumSize(), QSize(717, 518));
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QPoint screen_centre = window_->screen()->availableGeometry().center();
    QVERIFY((window_->geometry().center() - screen_centre).manhattanLength() <= 2);
    const QIcon icon = window_->windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
  }

  void controlSitsWhereTheTablePutsIt_data() {
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("tab_stop");
    QTest::addColumn<bool>("enabled");
    const struct {
      const char* name;
      QRect geometry;
      bool shown, tab_stop, enabled;
    } rows[] = {
        {"按钮3", {120, 480, 104, 24}, true, true, true},
        {"按钮2", {8, 480, 104, 24}, true, true, true},
        {"标签2", {544, 464, 160, 24}, true, false, true},
        {"摘要", {613, 8, 96, 24}, true, true, true},
        {"组合框1", {482, 10, 118, 20}, true, true, true},
        {"标签4", {464, 488, 240, 24}, true, false, true},
        {"标签3", {9, 465, 287, 24}, false, false, false},
        {"按钮1", {312, 8, 48, 24}, true, true, true},
        {"标签1", {544, 8, 56, 24}, true, false, true},
        {"标题框", {8, 8, 304, 24}, true, true, true},
        {"内容框", {8, 40, 704, 264}, true, true, true},
        {"编辑框1", {8, 312, 704, 152}, true, true, true},
    };
    for (const auto& r : rows) {
      QTest::newRow(r.name) << r.geometry << r.shown << r.tab_stop << r.enabled;
    }
  }
  void controlSitsWhereTheTablePutsIt() {
    QFETCH(QRect, geometry);
    QFETCH(bool, shown);
    QFETCH(bool, tab_stop);
    QFETCH(bool, enabled);
    QWidget* control = Control(QTest::currentDataTag());
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->isVisible(), shown);
    QCOMPARE(bool(control->focusPolicy() & Qt::TabFocus), tab_stop);
    QCOMPARE(control->isEnabled(), enabled);
  }

  void tabWalksTheStopsInTableOrder() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    Control("按钮3")->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    const QStringList expected = {"按钮2", "摘要", "组合框1", "按钮1", "标题框",
                                  "内容框", "编辑框1", "按钮3"};
    QCOMPARE(visited, expected);
  }

  void controlsOpenWithTheirInitialContents() {
    const Sample& initial = GetSample(SampleName::kInitial);
    QCOMPARE(TitleBox()->text(), FromField(initial.title));
    QCOMPARE(ContentBox()->toPlainText(), FromField(initial.text));
    QCOMPARE(OutputBox()->toPlainText(), QString());
    auto* combo = Control<QComboBox>("组合框1");
    QVERIFY(!combo->isEditable());
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    const QStringList expected_items = {"<200字 英文x2", "<300字 英文x2", "<400字 英文x2",
                                        "<500字 英文x2"};
    QCOMPARE(items, expected_items);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(Label("标签1")->text(), QString());
    QCOMPARE(Label("标签2")->text(), QString());
    QCOMPARE(Label("标签3")->text(), QStringLiteral("关键词：  "));
    QCOMPARE(Label("标签4")->text(), FromField(ContactLine()));
    QVERIFY(Label("标签4")->font() != window_->font());
    const QStringList caption_of = {"按钮1", "按钮2", "按钮3", "摘要"};
    const QStringList captions = {"清空", "例文二 4千字", "例文三 英文", "开始摘要"};
    for (int i = 0; i < caption_of.size(); ++i) {
      QCOMPARE(Control<QPushButton>(caption_of[i].toUtf8().constData())->text(), captions[i]);
    }
  }

  void boxesHaveTheirLook() {
    for (QWidget* box : {static_cast<QWidget*>(TitleBox()), static_cast<QWidget*>(ContentBox())}) {
      QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::black));
      QCOMPARE(box->palette().color(QPalette::Base), QColor(Qt::white));
    }
    QCOMPARE(ContentBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QPlainTextEdit* output = OutputBox();
    QCOMPARE(output->palette().color(QPalette::Text), QColor(128, 0, 0));
    QCOMPARE(output->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(output->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(output->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(output->font().pixelSize(), 14);
    QCOMPARE(output->font().weight(), QFont::Normal);
    const QString family = QFontInfo(output->font()).family();
    QVERIFY2(family == QStringLiteral("宋体") || family == QStringLiteral("Noto Serif CJK SC"),
             qPrintable(family));
  }

  // Each command writes its boxes in its own order; the labels and the
  // length class are touched only as stated.
  void commandChangesTheFieldsInItsOrder_data() {
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("clears_labels");
    const Sample& chinese = GetSample(SampleName::kChinese);
    const Sample& english = GetSample(SampleName::kEnglish);
    QTest::newRow("按钮1") << QStringList{"内容框", "编辑框1", "标题框"} << QString() << QString()
                          << true;
    QTest::newRow("按钮2") << QStringList{"标题框", "编辑框1", "内容框"}
                          << FromField(chinese.title) << FromField(chinese.text) << false;
    QTest::newRow("按钮3") << QStringList{"标题框", "内容框", "编辑框1"}
                          << FromField(english.title) << FromField(english.text) << false;
  }
  void commandChangesTheFieldsInItsOrder() {
    QFETCH(QStringList, order);
    QFETCH(QString, title);
    QFETCH(QString, content);
    QFETCH(bool, clears_labels);
    TitleBox()->setText(QStringLiteral("旧标题"));
    ContentBox()->setPlainText(QStringLiteral("旧文章"));
    OutputBox()->setPlainText(QStringLiteral("旧摘要"));
    for (const char* label : {"标签1", "标签2", "标签3"}) Label(label)->setText(QStringLiteral("旧"));
    Control<QComboBox>("组合框1")->setCurrentIndex(2);

    QStringList changed;
    auto note = [&changed](const QString& name) {
      if (changed.isEmpty() || changed.last() != name) changed << name;
    };
    connect(TitleBox(), &QLineEdit::textChanged, this, [&] { note("标题框"); });
    connect(ContentBox(), &QPlainTextEdit::textChanged, this, [&] { note("内容框"); });
    connect(OutputBox(), &QPlainTextEdit::textChanged, this, [&] { note("编辑框1"); });
    Click(QTest::currentDataTag());

    QCOMPARE(changed, order);
    QCOMPARE(TitleBox()->text(), title);
    QCOMPARE(ContentBox()->toPlainText(), content);
    QCOMPARE(OutputBox()->toPlainText(), QString());
    for (const char* label : {"标签1", "标签2", "标签3"}) {
      QCOMPARE(Label(label)->text(), clears_labels ? QString() : QStringLiteral("旧"));
    }
    QCOMPARE(Control<QComboBox>("组合框1")->currentIndex(), 2);
  }

  void clearThenStartLeavesOutputAndStatusEmpty() {
    Click("摘要");
    QVERIFY(!Label("标签2")->text().isEmpty());
    Click("按钮1");
    Click("摘要");
    QCOMPARE(OutputBox()->toPlainText(), QString());
    QCOMPARE(Label("标签2")->text(), QString());
  }

  void sampleCommandKeepsTheLastStatus() {
    Click("摘要");
    const QString status = Label("标签2")->text();
    QVERIFY(status.startsWith(QStringLiteral("原文")));
    for (const char* button : {"按钮2", "按钮3"}) {
      Click(button);
      QCOMPARE(OutputBox()->toPlainText(), QString());
      QCOMPARE(Label("标签2")->text(), status);
    }
  }

  void startSummarisesTheSample_data() {
    QTest::addColumn<int>("sample");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("length_class");
    QTest::addColumn<bool>("chinese");
    QTest::newRow("initial") << int(SampleName::kInitial) << QString() << 0 << true;
    QTest::newRow("chinese") << int(SampleName::kChinese) << QStringLiteral("按钮2") << 0 << true;
    QTest::newRow("chinese, longest") << int(SampleName::kChinese) << QStringLiteral("按钮2") << 3
                                      << true;
    QTest::newRow("english") << int(SampleName::kEnglish) << QStringLiteral("按钮3") << 0 << false;
    QTest::newRow("english, 300") << int(SampleName::kEnglish) << QStringLiteral("按钮3") << 1
                                  << false;
  }
  void startSummarisesTheSample() {
    QFETCH(int, sample);
    QFETCH(QString, button);
    QFETCH(int, length_class);
    QFETCH(bool, chinese);
    if (!button.isEmpty()) Click(button.toUtf8().constData());
    Control<QComboBox>("组合框1")->setCurrentIndex(length_class);
    Click("摘要");

    const Sample& s = GetSample(static_cast<SampleName>(sample));
    const WindowFields expected = ExpectedRun(s, length_class);
    QVERIFY(!expected.output.empty());
    QCOMPARE(OutputBox()->toPlainText(), FromField(expected.output));
    QCOMPARE(Label("标签3")->text(), FromField(expected.keywords));
    // The status counts the bytes of the GBK form, line breaks as CR LF.
    const int divisor = chinese ? 2 : 1;
    QCOMPARE(Label("标签2")->text(), Status(static_cast<int>(s.text.size()) / divisor,
                                          static_cast<int>(expected.output.size()) / divisor));
  }

  // Pasted texts reach the run with "?" for each character GBK lacks, as a
  // bare run on those fields would take them; the boxes keep the pasted
  // characters themselves.
  void pasteOfCharactersGbkCannotHold_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("title_field");    // as GBK holds it
    QTest::addColumn<QString>("content_field");
    const QString nul(QChar(0));
    QTest::newRow("emoji") << QStringLiteral("天气😀") << QStringLiteral("今天的天气很好😀我们一起去公园散步。")
                           << QStringLiteral("天气?") << QStringLiteral("今天的天气很好?我们一起去公园散步。");
    QTest::newRow("Hangul") << QStringLiteral("한국天气") << QStringLiteral("今天的天气很好한국我们一起去公园散步。")
                            << QStringLiteral("??天气") << QStringLiteral("今天的天气很好??我们一起去公园散步。");
    QTest::newRow("beyond the basic plane")
        << QStringLiteral("𠀀天气") << QStringLiteral("今天的𠀀天气很好我们一起去公园散步。")
        << QStringLiteral("?天气") << QStringLiteral("今天的?天气很好我们一起去公园散步。");
    QTest::newRow("U+0000") << (QStringLiteral("天") + nul + QStringLiteral("气"))
                            << (QStringLiteral("今天的天气很好") + nul + QStringLiteral("我们一起去公园散步。"))
                            << QStringLiteral("天?气") << QStringLiteral("今天的天气很好?我们一起去公园散步。");
    QTest::newRow("mixed, two lines")
        << QStringLiteral("ß✓天气")
        << QStringLiteral("今天的天气很好😀한𠀀ß✓我们一起去公园散步。\n明天的天气也好😀大家一起去爬山看看。")
        << QStringLiteral("??天气")
        << QStringLiteral("今天的天气很好?????我们一起去公园散步。\n明天的天气也好?大家一起去爬山看看。");
  }
  void pasteOfCharactersGbkCannotHold() {
    QFETCH(QString, title);
    QFETCH(QString, content);
    QFETCH(QString, title_field);
    QFETCH(QString, content_field);
    Paste(TitleBox(), title);
    Paste(ContentBox(), content);
    QCOMPARE(TitleBox()->text(), title);
    QCOMPARE(ContentBox()->toPlainText(), content);
    Click("摘要");

    QVERIFY(!window_->running());
    QCOMPARE(window_->fields().title, ToField(title_field));
    QCOMPARE(window_->fields().content, ToField(content_field));
    QCOMPARE(TitleBox()->text(), title);
    QCOMPARE(ContentBox()->toPlainText(), content);
    const WindowFields expected = ExpectedRun(ToField(title_field), ToField(content_field), 0);
    QVERIFY(!expected.output.empty());
    QCOMPARE(OutputBox()->toPlainText(), FromField(expected.output));
    QCOMPARE(Label("标签2")->text(), FromField(expected.status));
  }

  // A 5 MB article, pasted, runs to its length status; the window handles
  // events during the run, seen by a timer that counts only then.
  void bigArticleRunsToItsEndWhileEventsAreHandled() {
    const GbkText article = BigChineseArticle(5 << 20);
    const QString pasted = FromField(article);
    Paste(ContentBox(), pasted);
    QVERIFY(ContentBox()->toPlainText() == pasted);
    QVERIFY(ToField(ContentBox()->toPlainText()) == article);

    int rounds = 0;
    QSet<QString> statuses_seen;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
      if (!window_->running()) return;
      ++rounds;
      statuses_seen.insert(Label("标签2")->text());
    });
    ticker.start(0);
    Click("摘要");
    ticker.stop();

    QVERIFY(!window_->running());
    const GbkText& output = window_->fields().output;
    QVERIFY(!output.empty());
    QVERIFY(output.size() <= 400);
    QVERIFY(OutputBox()->toPlainText() == FromField(output));
    QCOMPARE(Label("标签2")->text(), Status(static_cast<int>(article.size() / 2),
                                          static_cast<int>(output.size() / 2)));
    QVERIFY(ContentBox()->toPlainText() == pasted);
    // The term statistics hand control back at the end of each of their
    // sixteen passes at least: events are handled all through them, and
    // every progress step is shown while they are.
    QVERIFY2(rounds >= 16, qPrintable(QString::number(rounds)));
    for (int pass = 1; pass <= 16; ++pass) {
      const QString progress = QString::number(pass * 100 / 16) + QLatin1Char('%');
      QVERIFY2(statuses_seen.contains(progress), qPrintable(progress));
    }
  }

  // Commands and edits that arrive while a run lets the window handle
  // events, by mouse, keyboard or a direct call, do nothing: no command
  // runs inside the run, the boxes keep their texts, and the result is
  // that of an undisturbed run.
  void commandsDuringARunChangeNothing_data() {
    QTest::addColumn<QString>("sample_button");
    QTest::addColumn<int>("sample");
    QTest::newRow("chinese") << QStringLiteral("按钮2") << int(SampleName::kChinese);
    QTest::newRow("english") << QStringLiteral("按钮3") << int(SampleName::kEnglish);
  }
  void commandsDuringARunChangeNothing() {
    QFETCH(QString, sample_button);
    QFETCH(int, sample);
    Click(sample_button.toUtf8().constData());
    const QString title = TitleBox()->text();
    const QString content = ContentBox()->toPlainText();

    int disturbed_rounds = 0;
    QStringList seen_wrong;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
      if (!window_->running()) return;
      ++disturbed_rounds;
      for (int i = 0; i < 3; ++i) {
        for (const char* button : {"摘要", "按钮1", "按钮2", "按钮3"}) Click(button);
      }
      QTest::keyClick(Control("摘要"), Qt::Key_Space);
      window_->Summarize();
      window_->ClearFields();
      window_->LoadChineseSample();
      window_->LoadEnglishSample();
      Paste(TitleBox(), QStringLiteral("粘贴"));
      Paste(ContentBox(), QStringLiteral("粘贴"));
      QTest::keyClicks(OutputBox(), "typed");
      // A command run to its end inside this round would have left its
      // traces by now.
      if (!window_->running()) seen_wrong << "run ended inside the round";
      if (Label("标签2")->text().startsWith(QStringLiteral("原文"))) seen_wrong << "length status";
      if (TitleBox()->text() != title) seen_wrong << "标题框";
      if (ContentBox()->toPlainText() != content) seen_wrong << "内容框";
    });
    ticker.start(0);
    Click("摘要");
    ticker.stop();

    QVERIFY(disturbed_rounds > 0);
    QCOMPARE(seen_wrong, QStringList());
    QCOMPARE(TitleBox()->text(), title);
    QCOMPARE(ContentBox()->toPlainText(), content);
    const WindowFields expected = ExpectedRun(GetSample(static_cast<SampleName>(sample)), 0);
    QCOMPARE(OutputBox()->toPlainText(), FromField(expected.output));
    QCOMPARE(Label("标签2")->text(), FromField(expected.status));
    QCOMPARE(Label("标签3")->text(), FromField(expected.keywords));
  }

  // A request to close during a run, by Esc or the close button, waits for
  // the run's end; once honoured, it is spent, so the window shown again
  // stays open through its next run.
  void closeDuringARunWaitsForItsEnd_data() {
    QTest::addColumn<bool>("by_esc");
    QTest::newRow("Esc") << true;
    QTest::newRow("close button") << false;
  }
  void closeDuringARunWaitsForItsEnd() {
    QFETCH(bool, by_esc);
    Click("按钮2");
    bool asked = false;
    bool shown_after_asking = false;
    QTimer::singleShot(0, this, [&] {
      if (!window_->running()) return;
      asked = true;
      for (int i = 0; i < 2; ++i) {
        if (by_esc) {
          QTest::keyClick(window_.get(), Qt::Key_Escape);
        } else {
          window_->close();
        }
      }
      shown_after_asking = window_->isVisible();
    });
    Click("摘要");

    QVERIFY(asked);
    QVERIFY(shown_after_asking);
    QVERIFY(!window_->isVisible());
    const WindowFields expected = ExpectedRun(GetSample(SampleName::kChinese), 0);
    QCOMPARE(OutputBox()->toPlainText(), FromField(expected.output));
    QCOMPARE(Label("标签2")->text(), FromField(expected.status));

    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    Click("摘要");
    QVERIFY(window_->isVisible());
  }

  // Observed from inside the run: a timer started before the click fires
  // in the first round of event handling that the run allows.
  void runHoldsOffCommandsAndDefersTheClose() {
    Click("按钮2");
    const QString content = ContentBox()->toPlainText();
    struct {
      bool running = false;
      QStringList open;  // controls that would take a command or an edit
      bool shown_after_esc = false;
    } seen;
    QTimer::singleShot(0, this, [&] {
      seen.running = window_->running();
      for (const char* button : {"摘要", "按钮1", "按钮2", "按钮3"}) {
        if (Control(button)->isEnabled()) seen.open << button;
      }
      if (!TitleBox()->isReadOnly()) seen.open << "标题框";
      if (!ContentBox()->isReadOnly()) seen.open << "内容框";
      if (!OutputBox()->isReadOnly()) seen.open << "编辑框1";
      Click("按钮1");
      QTest::keyClicks(ContentBox(), "typed");
      QTest::keyClick(window_.get(), Qt::Key_Escape);
      seen.shown_after_esc = window_->isVisible();
    });
    Click("摘要");

    QVERIFY2(seen.running, "no event was handled during the run");
    QCOMPARE(seen.open, QStringList());
    QVERIFY(seen.shown_after_esc);
    QCOMPARE(ContentBox()->toPlainText(), content);
    const WindowFields expected = ExpectedRun(GetSample(SampleName::kChinese), 0);
    QCOMPARE(OutputBox()->toPlainText(), FromField(expected.output));
    QCOMPARE(Label("标签2")->text(), FromField(expected.status));
    QVERIFY(!window_->isVisible());  // the Esc of the run, honoured at its end
    QVERIFY(Control("摘要")->isEnabled());
    QVERIFY(!ContentBox()->isReadOnly());
  }

  void fieldsTakeTheirGbkForm_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("的 and €") << QStringLiteral("的€") << QByteArray("\xB5\xC4\x80");
    QTest::newRow("astral") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << (QStringLiteral("a") + QChar(0xD800)) << QByteArray("a?");
    QTest::newRow("U+0000") << QString(QChar(0)) << QByteArray("?");
    QTest::newRow("no GBK form") << QStringLiteral("ą") << QByteArray("?");
    QTest::newRow("breaks") << QStringLiteral("a\nb\r\nc\rd") << QByteArray("a\r\nb\r\nc\r\nd");
  }
  void fieldsTakeTheirGbkForm() {
    QFETCH(QString, control);
    QFETCH(QByteArray, field);
    QCOMPARE(QByteArray::fromStdString(ToField(control).bytes()), field);
  }

  void controlsTakeTheUnicodeForm_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("control");
    QTest::newRow("的 and €") << QByteArray("\xB5\xC4\x80") << QStringLiteral("的€");
    QTest::newRow("CR LF and CR") << QByteArray("a\r\nb\rc") << QStringLiteral("a\nb\nc");
    QTest::newRow("bad byte") << QByteArray("a\xFF" "b") << QStringLiteral("a\uFFFDb");
    QTest::newRow("cut character") << QByteArray("\xB5\xC4\xB5") << QStringLiteral("的\uFFFD");
  }
  void controlsTakeTheUnicodeForm() {
    QFETCH(QByteArray, field);
    QFETCH(QString, control);
    QCOMPARE(FromField(GbkText(field.toStdString())), control);
  }

  void picturesTheWindowForAPerson() {
    Click("摘要");
    const QString path = QStringLiteral(QUILLET_SHOT_DIR "/quillet-window.png");
    QVERIFY(window_->grab().save(path));
  }

  // The start routine returns 0 when Esc closes the window, at once when
  // idle and at the end of the run when pressed during one.
  void escEndsTheProgramWithExitCodeZero_data() {
    QTest::addColumn<bool>("during_run");
    QTest::newRow("idle") << false;
    QTest::newRow("during a run") << true;
  }
  void escEndsTheProgramWithExitCodeZero() {
    QFETCH(bool, during_run);
    window_.reset();
    QApplication::setQuitOnLastWindowClosed(true);
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
      MainWindow* window = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* m = qobject_cast<MainWindow*>(w); m && m->isVisible()) window = m;
      }
      QVERIFY(window != nullptr);
      if (!during_run) {
        QTest::keyClick(window, Qt::Key_Escape);
        return;
      }
      QTimer::singleShot(0, this, [&, window] {
        ran = window->running();
        QTest::keyClick(window, Qt::Key_Escape);
      });
      window->Summarize();
    });
    QCOMPARE(RunMainWindow(), 0);
    QCOMPARE(ran, during_run);
  }

  // The program's test hook that closes the window during its first run: the
  // close arrives while the run is on, the window hides only with the
  // length status shown, and the start routine returns 0.
  void closeDuringRunHookEndsTheProgramAfterTheRun() {
    window_.reset();
    QApplication::setQuitOnLastWindowClosed(true);
    CloseWatch watch;
    qApp->installEventFilter(&watch);
    QCOMPARE(RunMainWindow(StartMode::kTestCloseDuringRun), 0);
    qApp->removeEventFilter(&watch);
    QCOMPARE(watch.close_while_running, true);
    QVERIFY2(watch.status_when_hidden.startsWith(QStringLiteral("原文")),
             qPrintable(watch.status_when_hidden));
  }

  // The real program, closed during a run through the same hook, exits
  // normally with 0.
  void programClosedDuringARunExitsWithZero() {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUILLET_TEST_CLOSE_DURING_RUN"), QStringLiteral("1"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLET_APP_PATH), QStringList());
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    // Only a guard against a program that never ends, not a speed limit.
    QVERIFY(program.waitForFinished(300000));
    const QByteArray err = program.readAllStandardError();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() == 0, err.constData());
  }
};

}  // namespace quillet

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  quillet::MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
