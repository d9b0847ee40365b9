#pragma once

// A real HTTP client on loopback for the server's tests: the toolkit's
// network access manager for ordinary requests, a plain socket for the
// requests no well-behaved client sends (raw paths, oversized, slow).

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>

struct ClientReply {
  int status = 0; // 0: no answer
  QByteArray contentType;
  QByteArray location;
  QByteArray allow;
  QByteArray vary;
  qint64 contentLength = -1;
  QByteArray body;
};

inline QNetworkRequest serveRequest(quint16 port, const QString& path, const QByteArray& accept) {
  QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  if (!accept.isEmpty())
    request.setRawHeader("Accept", accept);
  return request;
}

inline ClientReply replyOf(QNetworkReply* reply) {
  ClientReply result;
  result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  result.contentType = reply->rawHeader("Content-Type");
  result.location = reply->rawHeader("Location");
  result.allow = reply->rawHeader("Allow");
  result.vary = reply->rawHeader("Vary");
  const QByteArray length = reply->rawHeader("Content-Length");
  result.contentLength = length.isEmpty() ? -1 : length.toLongLong();
  result.body = reply->readAll();
  return result;
}

// One request, waited for (at most ten seconds).
inline ClientReply fetch(QNetworkAccessManager& manager, quint16 port, const QByteArray& method,
                         const QString& path, const QByteArray& accept = {},
                         const QByteArray& body = {}, const QByteArray& bodyType = {}) {
  QNetworkRequest request = serveRequest(port, path, accept);
  if (!bodyType.isEmpty())
    request.setHeader(QNetworkRequest::ContentTypeHeader, bodyType);
  QNetworkReply* reply = manager.sendCustomRequest(request, method, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  if (!reply->isFinished())
    loop.exec();
  ClientReply result = replyOf(reply);
  reply->deleteLater();
  return result;
}

// Sends `request` as it is and reads until the server closes the connection
// (or `waitMs` pass); returns what came back.
inline QByteArray rawExchange(quint16 port, const QByteArray& request, int waitMs = 5000,
                              bool* closed = nullptr) {
  QTcpSocket socket;
  socket.connectToHost(QStringLiteral("127.0.0.1"), port);
  if (!socket.waitForConnected(3000))
    return {};
  socket.write(request);
  socket.waitForBytesWritten(3000);
  QByteArray answer;
  QElapsedTimer clock;
  clock.start();
  while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < waitMs) {
    socket.waitForReadyRead(int(std::max<qint64>(1, waitMs - clock.elapsed())));
    answer += socket.readAll();
  }
  answer += socket.readAll();
  if (closed != nullptr)
    *closed = socket.state() != QAbstractSocket::ConnectedState;
  return answer;
}

// The status of a raw answer ("HTTP/1.1 403 Forbidden"); 0 when none came.
inline int rawStatus(const QByteArray& answer) {
  if (!answer.startsWith("HTTP/1."))
    return 0;
  return answer.mid(9, 3).toInt();
}
