#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace tessera {

class TextDocument;

namespace serve {
class HttpServer;
class RequestLog;
class Site;
} // namespace serve

// "Serve to Phone" (`ServeWindow`): serves the folder of the document's file
// to a phone on the local network — the address to listen on (this machine
// only unless the person picks a network address), the port, the address
// to type into the phone in large text, start and stop, whether the
// editor's unsaved text is served for the document's own file, and the log
// of requests (`ServeLog`). The server stops when the window goes (with the
// program).
class ServeWindow : public QDialog {
  Q_OBJECT
public:
  explicit ServeWindow(TextDocument& document, QWidget* parent = nullptr);
  ~ServeWindow() override;

  bool isServing() const;
  // The port listened on while serving, else 0.
  quint16 servingPort() const;
  QString phoneUrl() const; // empty when not serving
  serve::RequestLog& log() const { return *log_; }

  void start();
  void stop();

private:
  void fillAddresses();
  void pushEditorText();
  void documentFileChanged();
  void showState(const QString& message, bool failed = false);

  TextDocument& document_;
  std::unique_ptr<serve::RequestLog> log_;
  std::unique_ptr<serve::Site> site_;
  std::unique_ptr<serve::HttpServer> server_; // goes before the site it answers from
  QString servedFolder_;
  QTimer snapshotTimer_;

  QComboBox* address_;
  QSpinBox* port_;
  QCheckBox* unsaved_;
  QLabel* url_;
  QLabel* state_;
  QPushButton* start_;
  QPushButton* stop_;
  QTableView* logView_;
};

} // namespace tessera
