#include "Fixture.h"

#include "Bench.h"

#include "app/MainWindow.h"
#include "deck/DeckService.h"
#include "editor/Insertion.h"
#include "editor/SourceEditor.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace bench {

AppWindow::AppWindow(Settle settleAfterShowing) {
  window_ = std::make_unique<tessera::MainWindow>(tessera::Services{prompts_, shell_, lockKeys_});
  builtAt_ = std::chrono::steady_clock::now();
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) {
    std::fprintf(stderr, "the main window was never shown\n");
    std::exit(2);
  }
  if (settleAfterShowing == Settle::Yes)
    settle();
}

void AppWindow::load(const QString& path) {
  if (!window_->files().loadFile(path)) {
    std::fprintf(stderr, "loading %s failed\n", qPrintable(path));
    std::exit(2);
  }
}

void AppWindow::clear() {
  editor().textDocument().replaceWholeText(QString());
  settle();
}

std::unique_ptr<QPlainTextEdit> bareEditorLike(const QPlainTextEdit& like) {
  auto bare = std::make_unique<QPlainTextEdit>();
  bare->setFont(like.font());
  bare->setLineWrapMode(like.lineWrapMode());
  bare->setWordWrapMode(like.wordWrapMode());
  bare->resize(like.size());
  bare->show();
  if (!QTest::qWaitForWindowExposed(bare.get())) {
    std::fprintf(stderr, "the reference editor was never shown\n");
    std::exit(2);
  }
  settle();
  return bare;
}

void loadAgainstBare(AppWindow& app, QPlainTextEdit& bare, const QString& path, int runs,
                     double* oursMs, double* referenceMs) {
  bestOfAlternating(
      runs,
      [&] {
        app.load(path);
        app.editor().repaint();
      },
      [&] {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
          bare.setPlainText(QString::fromUtf8(file.readAll()));
        bare.repaint();
      },
      oursMs, referenceMs,
      [&] {
        app.clear();
        bare.clear();
        settle();
      });
}

void settle() {
  for (int i = 0; i < 3; ++i)
    QApplication::processEvents();
}

void typingWithAndWithoutLiveCheck(AppWindow& app, const QString& piece, int insertions,
                                   double* onMs, double* offMs) {
  tessera::SourceEditor& editor = app.editor();
  QAction* liveCheck = app.window().findChild<QAction*>(QStringLiteral("LiveCheck1"));
  tessera::DeckService* service = app.window().deckService();
  const auto settleChecks = [&] {
    for (;;) {
      settle();
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      if (!service->busy())
        break;
    }
    // Each run types on a fresh last line, so no run pays for a longer line.
    editor.setSelection(tessera::TextPosition(editor.textDocument().textLength()), 0);
    editor.apply(tessera::Insertion{QStringLiteral("\r\n"), 0, false});
    settle();
  };
  const auto type = [&] {
    for (int i = 0; i < insertions; ++i)
      editor.apply(tessera::Insertion{piece, 0, false});
  };
  *onMs = *offMs = 1e300;
  for (int run = 0; run < 5; ++run) {
    liveCheck->setChecked(false);
    settleChecks();
    *offMs = std::min(*offMs, timeMs(type));
    liveCheck->setChecked(true);
    settleChecks();
    *onMs = std::min(*onMs, timeMs(type));
  }
  liveCheck->setChecked(true);
}

} // namespace bench
