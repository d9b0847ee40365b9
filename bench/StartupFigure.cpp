// Start-up to the first shown main window, each side in a process of its own,
// timed from launching the process to its window being on screen.
#include "Bench.h"
#include "Fixture.h"
#include "app/Application.h"
#include "app/Icons.h"
#include "app/MainWindow.h"
#include "document/DefaultDocument.h"
#include "editor/SourceEditor.h"
#include "tools/ToolsPanel.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include <array>
#include <chrono>
#include <cstdio>
#include <limits>

namespace {

using Clock = std::chrono::steady_clock;

// Nanoseconds on the machine's monotonic clock, which parent and child share.
qint64 nsOf(Clock::time_point at) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}

// What a child reports: when its main() began, its application object was
// made, its window was built and its window was on screen. What it does
// after that, such as exiting, is no part of starting up.
enum Stamp { Entered, AppMade, Built, Shown, StampCount };
using Stamps = std::array<double, StampCount>; // ms after launching the child

void report(Clock::time_point entered, Clock::time_point appMade, Clock::time_point built) {
  std::printf("%lld %lld %lld %lld\n", static_cast<long long>(nsOf(entered)),
              static_cast<long long>(nsOf(appMade)), static_cast<long long>(nsOf(built)),
              static_cast<long long>(nsOf(Clock::now())));
}

// The child's stamps; every one the maximum when the child failed.
Stamps launch(const bench::Context& context, const QString& mode) {
  Stamps stamps;
  stamps.fill(std::numeric_limits<double>::max());
  const qint64 launched = nsOf(Clock::now());
  const QList<QByteArray> printed =
      bench::runChildOutput(context, mode, {}).simplified().split(' ');
  if (printed.size() != StampCount)
    return stamps;
  for (int i = 0; i < StampCount; ++i)
    stamps[i] = double(printed[i].toLongLong() - launched) / 1e6;
  return stamps;
}

// A reference child's end: its window built, shown and on screen.
int showAndReport(QWidget& window, Clock::time_point entered, Clock::time_point appMade) {
  const Clock::time_point built = Clock::now();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window))
    return 1;
  report(entered, appMade, built);
  return 0;
}

QString phases(const Stamps& s) {
  return QStringLiteral("process start %1, application %2, window built %3, shown %4 ms")
      .arg(s[Entered], 0, 'f', 1)
      .arg(s[AppMade] - s[Entered], 0, 'f', 1)
      .arg(s[Built] - s[AppMade], 0, 'f', 1)
      .arg(s[Shown] - s[Built], 0, 'f', 1);
}

} // namespace

BENCH_FIGURE(startup, 80) {
  Stamps ours, reference, widgets;
  ours.fill(std::numeric_limits<double>::max());
  reference = widgets = ours;
  const auto keepFaster = [&](const QString& mode, Stamps& best) {
    const Stamps run = launch(context, mode);
    if (run[Shown] < best[Shown])
      best = run;
  };
  for (int run = 0; run < 5; ++run) {
    keepFaster(QStringLiteral("startup-bare"), reference);
    keepFaster(QStringLiteral("startup-app"), ours);
    keepFaster(QStringLiteral("startup-widgets"), widgets);
  }
  // Held against the same widgets built from the toolkit alone: what the
  // program adds to what any program showing this window must spend.
  context.add({QStringLiteral("start-up vs the same widgets from the toolkit"), QString(),
               ours[Shown], widgets[Shown], 1.15});
  std::printf("    ours: %s\n    toolkit widgets: %s\n", qPrintable(phases(ours)),
              qPrintable(phases(widgets)));
  // Not a bound: a bare window measures the machine's process start and
  // the toolkit more than the program.
  std::printf("    bare window: %s; ours is %.2f times that\n", qPrintable(phases(reference)),
              ours[Shown] / reference[Shown]);
}

// The program's own start: the same steps as its main(), up to the moment
// the main window is on screen.
BENCH_CHILD(startupApp, "startup-app") {
  (void)args;
  const Clock::time_point entered = Clock::now();
  QApplication app(argc, argv);
  const Clock::time_point appMade = Clock::now();
  tessera::prepareApplication();
  bench::AppWindow window(bench::AppWindow::Settle::No);
  report(entered, appMade, window.builtAt());
  return 0;
}

// What the main window shows at start, made of plain toolkit widgets with
// none of the program behind them: the menu bar's seven menus with their
// items, the toolbar's ten themed icons, the thirteen tabs with the first
// page's two buttons, the editor with the default text in its font, and the
// status line's panels, in the program's fonts and sizes.
BENCH_CHILD(startupWidgets, "startup-widgets") {
  (void)args;
  const Clock::time_point entered = Clock::now();
  QApplication app(argc, argv);
  const Clock::time_point appMade = Clock::now();
  tessera::prepareApplication();
  QMainWindow window;
  QFont uiFont(QStringLiteral("MS Sans Serif"), 8);
  uiFont.setStyleHint(QFont::SansSerif);
  window.setFont(uiFont);
  const std::pair<const char*, int> menus[] = {{"File", 12},    {"Edit", 13}, {"Tools", 5},
                                               {"Options", 15}, {"View", 5},  {"Deck", 9},
                                               {"Help", 4}};
  for (const auto& [title, items] : menus) {
    QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
    for (int i = 0; i < items; ++i)
      menu->addAction(QStringLiteral("&Item %1...").arg(i), QKeySequence(Qt::CTRL | Qt::Key_F1));
  }
  auto* toolBar = window.addToolBar(QString());
  toolBar->setMovable(false);
  toolBar->setIconSize(QSize(22, 22));
  toolBar->setFixedHeight(29);
  using tessera::IconId;
  for (IconId icon :
       {IconId::New, IconId::Open, IconId::Save, IconId::Cut, IconId::Copy, IconId::Paste,
        IconId::Table, IconId::DropDown, IconId::ToolsWindowShown, IconId::About})
    toolBar->addAction(tessera::themedIcon(icon), QString());
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* tabs = new QTabWidget;
  tabs->setFixedHeight(tessera::ToolsPanel::kHeight);
  tabs->setUsesScrollButtons(true);
  for (int t = 0; t < tessera::ToolsPanel::TabCount; ++t) {
    auto* page = new QWidget;
    if (t == 0) {
      auto* row = new QHBoxLayout(page);
      row->addWidget(new QPushButton(QStringLiteral("Brake line")));
      row->addWidget(new QPushButton(QStringLiteral("Line omission")));
      row->addStretch(1);
    }
    tabs->addTab(page, tessera::ToolsPanel::caption(tessera::ToolsPanel::Tab(t)));
  }
  layout->addWidget(tabs);
  auto* editor = new QPlainTextEdit;
  editor->setFont(tessera::SourceEditor::defaultFont());
  editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  editor->setPlainText(tessera::defaultDocument());
  layout->addWidget(editor, 1);
  window.setCentralWidget(central);
  for (const char* text : {"Row: 1", "Char.: 0", "", "", "", "UTF-8 \xC2\xB7 CR LF", ""})
    window.statusBar()->addWidget(new QLabel(QString::fromUtf8(text)), 1);
  window.resize(tessera::MainWindow::kStartSize);
  return showAndReport(window, entered, appMade);
}

// The bare window is as large as ours and its editor has our editor's font,
// as every other reference editor of the bench: filling the same pixels and
// loading the same font are no part of what the program adds.
BENCH_CHILD(startupBare, "startup-bare") {
  (void)args;
  const Clock::time_point entered = Clock::now();
  QApplication app(argc, argv);
  const Clock::time_point appMade = Clock::now();
  QMainWindow window;
  auto* editor = new QPlainTextEdit;
  editor->setFont(tessera::SourceEditor::defaultFont());
  window.setCentralWidget(editor);
  window.resize(tessera::MainWindow::kStartSize);
  return showAndReport(window, entered, appMade);
}
