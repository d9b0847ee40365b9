#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>

#ifdef TESSERA_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace tessera {

bool DesktopShell::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool DesktopShell::startProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

#ifdef TESSERA_HAVE_X11
namespace {
struct IndicatorBits {
  unsigned num = 0, caps = 0, scroll = 0;
};

unsigned indicatorBit(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);
  if (atom == None)
    return 0;
  int index = -1;
  if (!XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) || index < 0 ||
      index >= 32)
    return 0;
  return 1u << index;
}
} // namespace
#endif

LockKeyState SystemLockKeys::read() {
  LockKeyState state;
#ifdef TESSERA_HAVE_X11
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display)
    return state;
  // The indicator numbers never change while the server runs: look them up once.
  static Display* cachedFor = nullptr;
  static IndicatorBits bits;
  if (cachedFor != display) {
    bits.num = indicatorBit(display, "Num Lock");
    bits.caps = indicatorBit(display, "Caps Lock");
    bits.scroll = indicatorBit(display, "Scroll Lock");
    cachedFor = display;
  }
  unsigned indicators = 0;
  if (XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) != Success)
    return state;
  state.known = true;
  state.numLock = indicators & bits.num;
  state.capsLock = indicators & bits.caps;
  state.scrollLock = indicators & bits.scroll;
#endif
  return state;
}

} // namespace tessera
