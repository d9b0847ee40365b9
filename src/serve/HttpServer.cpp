#include "serve/HttpServer.h"

#include <QUrl>

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace tessera::serve {

// What one request gathers between the library's calls: the POST's fields
// and how much body came.
struct HttpServer::Connection {
  HttpServer* server = nullptr;
  Request request;
  MHD_PostProcessor* fields = nullptr;
  qint64 bodyBytes = 0;
  bool tooLarge = false;
};

namespace {

MHD_Result addField(void* cls, MHD_ValueKind, const char* key, const char*, const char*,
                    const char*, const char* data, uint64_t offset, size_t size) {
  auto* connection = static_cast<HttpServer::Connection*>(cls);
  const QString value = QString::fromUtf8(data, qsizetype(size));
  // A long value comes in pieces; the pieces of one field follow each other.
  if (offset > 0 && !connection->request.fields.isEmpty())
    connection->request.fields.last().value += value;
  else
    connection->request.fields.append({QString::fromUtf8(key), value});
  return MHD_YES;
}

QString clientOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (info == nullptr || info->client_addr == nullptr)
    return {};
  return QHostAddress(info->client_addr).toString();
}

void freeBody(void* body) { delete static_cast<QByteArray*>(body); }

MHD_Result send(HttpServer& server, MHD_Connection* connection, const Request& request,
                const Response& response) {
  // The response keeps its own reference to the body until it is sent.
  auto* body = new QByteArray(response.body);
  MHD_Response* reply = MHD_create_response_from_buffer_with_free_callback_cls(
      size_t(body->size()), body->data(), freeBody, body);
  if (reply == nullptr) {
    delete body;
    return MHD_NO;
  }
  MHD_add_response_header(reply, MHD_HTTP_HEADER_CONTENT_TYPE, response.contentType.constData());
  for (const auto& [name, value] : response.headers)
    MHD_add_response_header(reply, name.constData(), value.constData());
  // The editor's text changes between requests: never from a cache.
  MHD_add_response_header(reply, MHD_HTTP_HEADER_CACHE_CONTROL, "no-cache");
  const MHD_Result queued = MHD_queue_response(connection, unsigned(response.status), reply);
  MHD_destroy_response(reply);
  server.report(RequestRecord{QDateTime::currentDateTime(), clientOf(connection), request.method,
                              request.path, request.accept, response.status, response.body.size(),
                              response.compiled});
  return queued;
}

MHD_Result answer(void* cls, MHD_Connection* connection, const char* url, const char* method,
                  const char*, const char* uploadData, size_t* uploadSize, void** state) {
  auto& server = *static_cast<HttpServer*>(cls);
  auto* gathered = static_cast<HttpServer::Connection*>(*state);
  if (gathered == nullptr) {
    gathered = new HttpServer::Connection;
    gathered->server = &server;
    gathered->request.method = method;
    gathered->request.path = QString::fromUtf8(url);
    if (const char* accept =
            MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_ACCEPT))
      gathered->request.accept = accept;
    *state = gathered;
    if (gathered->request.method == "POST") {
      // A body announced larger than the limit is refused before it comes.
      if (const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND,
                                                           MHD_HTTP_HEADER_CONTENT_LENGTH)) {
        bool number = false;
        const qint64 announced = QByteArray(length).toLongLong(&number);
        if (!number || announced > server.settings().bodyLimit) {
          gathered->tooLarge = true;
          return send(
              server, connection, gathered->request,
              Response{413, "text/plain; charset=utf-8", "Request body too large.\n", false, {}});
        }
      }
      gathered->fields = MHD_create_post_processor(connection, 4096, addField, gathered);
    }
    return MHD_YES;
  }
  if (*uploadSize != 0) {
    gathered->bodyBytes += qint64(*uploadSize);
    if (gathered->bodyBytes > server.settings().bodyLimit) {
      // A body without a length that outgrows the limit: the connection is
      // cut rather than the rest read.
      server.report(RequestRecord{QDateTime::currentDateTime(), clientOf(connection),
                                  gathered->request.method, gathered->request.path,
                                  gathered->request.accept, 413, 0, false});
      return MHD_NO;
    }
    if (gathered->fields != nullptr && !gathered->tooLarge)
      MHD_post_process(gathered->fields, uploadData, *uploadSize);
    *uploadSize = 0;
    return MHD_YES;
  }
  if (gathered->tooLarge)
    return MHD_YES;
  return send(server, connection, gathered->request, server.site().respond(gathered->request));
}

void completed(void*, MHD_Connection*, void** state, MHD_RequestTerminationCode) {
  auto* gathered = static_cast<HttpServer::Connection*>(*state);
  if (gathered == nullptr)
    return;
  if (gathered->fields != nullptr)
    MHD_destroy_post_processor(gathered->fields);
  delete gathered;
  *state = nullptr;
}

// The library's own decoding of %XX, except that a decoded NUL becomes a
// backslash, which no served path may hold: a C string would end at the NUL
// and "/a.wml%00.png" would be answered as "/a.wml".
size_t unescape(void*, MHD_Connection*, char* text) {
  const size_t length = MHD_http_unescape(text);
  std::replace(text, text + length, '\0', '\\');
  return length;
}

// The library's messages would go to standard error unasked; the log shows
// what a person needs.
void quiet(void*, const char*, va_list) {}

} // namespace

HttpServer::HttpServer(Site& site, Served served) : site_(site), served_(std::move(served)) {}

HttpServer::~HttpServer() { stop(); }

void HttpServer::report(const RequestRecord& record) const {
  if (served_)
    served_(record);
}

bool HttpServer::start(const ServerSettings& settings, QString* error) {
  stop();
  settings_ = settings;
  sockaddr_storage address{};
  unsigned flags = MHD_USE_AUTO_INTERNAL_THREAD | MHD_USE_ERROR_LOG;
  const bool v6 = settings.address.protocol() == QAbstractSocket::IPv6Protocol;
  if (v6) {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(settings.port);
    const Q_IPV6ADDR bytes = settings.address.toIPv6Address();
    std::memcpy(&in6->sin6_addr, bytes.c, sizeof bytes.c);
    in6->sin6_scope_id = settings.address.scopeId().toUInt();
    flags |= MHD_USE_IPv6;
  } else {
    auto* in4 = reinterpret_cast<sockaddr_in*>(&address);
    in4->sin_family = AF_INET;
    in4->sin_port = htons(settings.port);
    in4->sin_addr.s_addr = htonl(settings.address.toIPv4Address());
  }
  daemon_ = MHD_start_daemon(
      flags, settings.port, nullptr, nullptr, answer, this, MHD_OPTION_SOCK_ADDR, &address,
      MHD_OPTION_CONNECTION_LIMIT, settings.connectionLimit, MHD_OPTION_PER_IP_CONNECTION_LIMIT,
      settings.connectionsPerClient, MHD_OPTION_CONNECTION_TIMEOUT, settings.idleSeconds,
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, settings.requestMemory, MHD_OPTION_THREAD_POOL_SIZE,
      settings.threads, MHD_OPTION_NOTIFY_COMPLETED, completed, nullptr,
      MHD_OPTION_UNESCAPE_CALLBACK, unescape, nullptr, MHD_OPTION_EXTERNAL_LOGGER, quiet, nullptr,
      MHD_OPTION_END);
  if (daemon_ == nullptr) {
    if (error != nullptr)
      *error = QStringLiteral("Cannot listen on %1 port %2: the port is taken, or the address "
                              "is not one of this machine's.")
                   .arg(settings.address.toString(), QString::number(settings.port));
    return false;
  }
  const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
  port_ = info != nullptr ? info->port : settings.port;
  return true;
}

void HttpServer::stop() {
  if (daemon_ == nullptr)
    return;
  MHD_stop_daemon(daemon_);
  daemon_ = nullptr;
  port_ = 0;
}

} // namespace tessera::serve
