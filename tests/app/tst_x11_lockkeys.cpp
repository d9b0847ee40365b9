// Runs under a real X server (Xvfb): the lock-key panels read the keyboard's
// own indicators.
#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/StatusLine.h"
#include "platform/Desktop.h"

#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace tessera;

class X11LockKeysTest : public QObject {
  Q_OBJECT
private slots:
  void followsNumAndCapsLock();
};

static void pressKey(const char* key) {
  QCOMPARE(
      QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QLatin1String(key)}), 0);
}

// Lets the event loop run and fall idle (QTest::qWait never blocks, so the
// idle hook would not run under it).
static void idle(int ms = 300) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void X11LockKeysTest::followsNumAndCapsLock() {
  QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
  SystemLockKeys keys;
  const LockKeyState before = keys.read();
  QVERIFY(before.known);

  TestServices t;
  MainWindow w(Services{t.prompts, t.shell, keys});
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));

  pressKey("Num_Lock");
  idle();
  // The panels follow at the next idle moment, with no other action.
  QCOMPARE(w.statusLine()->panelText(StatusLine::NumPanel),
           before.numLock ? QString() : QStringLiteral("NUM"));
  pressKey("Caps_Lock");
  idle();
  QCOMPARE(w.statusLine()->panelText(StatusLine::CapsPanel),
           before.capsLock ? QString() : QStringLiteral("CAP"));
  pressKey("Num_Lock");
  pressKey("Caps_Lock");
  idle();
  QCOMPARE(keys.read(), before);
  QCOMPARE(w.statusLine()->panelText(StatusLine::NumPanel),
           before.numLock ? QStringLiteral("NUM") : QString());
}

QTEST_MAIN(X11LockKeysTest)
#include "tst_x11_lockkeys.moc"
