// Start-up to the first shown main window, each side in a process of its own.
#include "Bench.h"
#include "Fixture.h"
#include "app/Icons.h"
#include "info/ProgramPicture.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QTest>

#include <algorithm>
#include <limits>

BENCH_FIGURE(startup, 80) {
  double ours = std::numeric_limits<double>::max(), reference = ours;
  for (int run = 0; run < 3; ++run) {
    double wall = 0;
    if (bench::runChild(context, QStringLiteral("startup-bare"), {}, &wall) < 0)
      wall = std::numeric_limits<double>::max();
    reference = std::min(reference, wall);
    if (bench::runChild(context, QStringLiteral("startup-app"), {}, &wall) < 0)
      wall = std::numeric_limits<double>::max();
    ours = std::min(ours, wall);
  }
  context.add(
      {QStringLiteral("start-up to the first shown main window"), QString(), ours, reference, 1.5});
}

// The program's own start: the same steps as its main(), up to the moment
// the main window is on screen. (The tools window, which the start-up timer
// opens once the main window is on screen, is not part of the figure.)
BENCH_CHILD(startupApp, "startup-app") {
  (void)args;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("WML Tessera 1.0"));
  tessera::chooseIconTheme();
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(tessera::ProgramPicture::image())));
  bench::AppWindow window(bench::AppWindow::Settle::No);
  std::printf("0\n");
  return 0;
}

BENCH_CHILD(startupBare, "startup-bare") {
  (void)args;
  QApplication app(argc, argv);
  QMainWindow window;
  window.setCentralWidget(new QPlainTextEdit);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window))
    return 1;
  std::printf("0\n");
  return 0;
}
