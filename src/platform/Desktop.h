#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The desktop's services other than questions: the shell's "open" action,
// starting a process, and the toggle state of the lock keys.
namespace tessera {

class Shell {
public:
  virtual ~Shell() = default;
  virtual bool openUrl(const QUrl& url) = 0;
  virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};

struct LockKeyState {
  bool known = false; // false where the platform cannot tell
  bool numLock = false;
  bool capsLock = false;
  bool scrollLock = false;
  bool operator==(const LockKeyState&) const = default;
};

class LockKeys {
public:
  virtual ~LockKeys() = default;
  virtual LockKeyState read() = 0;
};

// QDesktopServices and QProcess.
class DesktopShell : public Shell {
public:
  bool openUrl(const QUrl& url) override;
  bool startProgram(const QString& program, const QStringList& arguments) override;
};

// Reads the keyboard indicators of the X server; reports "unknown" on other
// platforms (Wayland, offscreen).
class SystemLockKeys : public LockKeys {
public:
  LockKeyState read() override;
};

// For tests: records what was opened and started; lock keys as set.
class RecordingShell : public Shell {
public:
  bool openUrl(const QUrl& url) override {
    opened.append(url);
    return true;
  }
  bool startProgram(const QString& program, const QStringList& arguments) override {
    started.append(QStringList{program} + arguments);
    return true;
  }
  QList<QUrl> opened;
  QList<QStringList> started;
};

class FixedLockKeys : public LockKeys {
public:
  LockKeyState read() override { return state; }
  LockKeyState state;
};

} // namespace tessera
