#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Running this program as a child on untrusted input, so that a hostile file
// can crash or exhaust only the child: a processor-time and an address-space
// limit set before it starts, a wall-clock limit while it runs, and its
// output read as it comes so a full pipe never stalls it.
namespace tessera {

struct ChildRun {
  bool started = false;
  bool timedOut = false;
  bool crashed = false; // ended by a signal (a limit among them)
  int exitCode = 0;
  QByteArray output;
  QString errors; // standard error, decoded
};

ChildRun runLimitedChild(const QString& program, const QStringList& arguments, int timeLimitMs,
                         long memoryLimitBytes);

} // namespace tessera
