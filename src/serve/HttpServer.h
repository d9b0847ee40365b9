#pragma once

#include "serve/Site.h"

#include <QDateTime>
#include <QHostAddress>
#include <QString>

#include <functional>
#include <memory>

struct MHD_Daemon;

namespace tessera::serve {

// One request as the log shows it.
struct RequestRecord {
  QDateTime time;
  QString client; // the client's address
  QByteArray method;
  QString path;
  QByteArray accept;
  int status = 0;
  qint64 bytes = 0; // the body's length
  bool compiled = false;
};

// Where the server listens and how much it takes from a client. The
// defaults expose nothing: the loopback address only.
struct ServerSettings {
  QHostAddress address = QHostAddress(QHostAddress::LocalHost);
  quint16 port = 8080; // 0: any free port (see HttpServer::port())
  unsigned connectionLimit = 128;
  // One client (one address) cannot take every connection, e.g. by keeping
  // many requests half sent.
  unsigned connectionsPerClient = 64;
  unsigned idleSeconds = 10;        // a connection quiet this long is closed
  size_t requestMemory = 16 * 1024; // request line and headers of one request
  qint64 bodyLimit = 64 * 1024;     // a POST's body
  unsigned threads = 4;
};

// The HTTP side, on GNU libmicrohttpd: its threads take the connections,
// parse the requests and enforce the limits; each complete request is
// handed to the Site and its answer sent. `served` is called for every
// answered request, on the server's threads.
class HttpServer {
public:
  using Served = std::function<void(const RequestRecord&)>;
  HttpServer(Site& site, Served served);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Starts listening; false (with the reason in `error`) when the address
  // or port cannot be taken.
  bool start(const ServerSettings& settings, QString* error = nullptr);
  // Closes every connection and waits for the server's threads.
  void stop();
  bool isRunning() const { return daemon_ != nullptr; }
  quint16 port() const { return port_; }
  const ServerSettings& settings() const { return settings_; }

  // Used by the library's callbacks.
  struct Connection;
  Site& site() { return site_; }
  void report(const RequestRecord& record) const;

private:
  Site& site_;
  Served served_;
  ServerSettings settings_;
  MHD_Daemon* daemon_ = nullptr;
  quint16 port_ = 0;
};

} // namespace tessera::serve
