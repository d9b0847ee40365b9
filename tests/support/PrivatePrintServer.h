#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A print server of the test's own: cupsd with its configuration, spool,
// logs and socket in a temporary folder, and one queue that writes every
// job it receives, unchanged, to a file. Nothing of the machine's own
// printing set-up is read or changed.
//
// start() must run before anything in the process asks the printing
// library about printers: it points the library at this server through
// CUPS_SERVER (and at this folder for the client's own settings).
class PrivatePrintServer {
public:
  static constexpr const char* kQueue = "TesseraFile";

  PrivatePrintServer() = default;
  ~PrivatePrintServer();
  PrivatePrintServer(const PrivatePrintServer&) = delete;
  PrivatePrintServer& operator=(const PrivatePrintServer&) = delete;

  // Writes the configuration, starts the server and waits until it takes
  // requests. Returns false with the reason in error() otherwise.
  bool start();
  void stop();
  QString error() const { return error_; }

  // The file the queue writes each job to (the last job only).
  QString receivedFile() const;
  QString socketPath() const;
  // The server's own log, for a failure message.
  QString errorLog() const;

private:
  bool writeConfiguration();
  bool waitUntilReady();

  QTemporaryDir folder_;
  QProcess server_;
  QString error_;
};
