// Serving a 2 KB deck to ten clients at once, a thousand requests: sent
// compiled on request (the client prefers WBXML) against sent as the text
// it is. The cache of compiled results per revision is what keeps the two
// close: a deck is compiled once per revision, however many ask at once.
#include "Bench.h"
#include "SampleWml.h"

#include "serve/HttpServer.h"
#include "serve/Site.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kClients = 10;
constexpr int kRequests = 1000;

// Runs the requests; returns how many were answered 200 with a body.
int serveRound(quint16 port, const QByteArray& accept) {
  std::vector<std::unique_ptr<QNetworkAccessManager>> clients;
  int done = 0;
  int good = 0;
  QEventLoop loop;
  std::function<void(int, int)> next = [&](int client, int sent) {
    if (sent == kRequests / kClients)
      return;
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/deck.wml").arg(port)));
    request.setRawHeader("Accept", accept);
    QNetworkReply* reply = clients[size_t(client)]->get(request);
    QObject::connect(reply, &QNetworkReply::finished, &loop, [&, reply, client, sent] {
      if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200 &&
          !reply->readAll().isEmpty())
        ++good;
      reply->deleteLater();
      if (++done == kRequests)
        loop.quit();
      next(client, sent + 1);
    });
  };
  for (int client = 0; client < kClients; ++client) {
    clients.push_back(std::make_unique<QNetworkAccessManager>());
    next(client, 0);
  }
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  loop.exec();
  return good;
}

} // namespace

BENCH_FIGURE(serveCompiled, 90) {
  const QString folder = context.workDir + QStringLiteral("/serve");
  QDir().mkpath(folder);
  QFile deck(folder + QStringLiteral("/deck.wml"));
  if (!deck.open(QIODevice::WriteOnly) || deck.write(bench::sampleWml(2 * 1024)) < 0)
    return;
  deck.close();
  tessera::serve::Site site(folder);
  tessera::serve::HttpServer server(site, {});
  tessera::serve::ServerSettings settings;
  settings.port = 0;
  if (!server.start(settings))
    return;
  int compiledGood = 0;
  int textGood = 0;
  double compiledMs = 0, textMs = 0;
  bench::bestOfAlternating(
      3, [&] { compiledGood = serveRound(server.port(), "application/vnd.wap.wmlc"); },
      [&] { textGood = serveRound(server.port(), "text/vnd.wap.wml"); }, &compiledMs, &textMs);
  std::printf("  (answered: compiled %d, text %d of %d; compilations %d)\n", compiledGood, textGood,
              kRequests, site.cache().compilations());
  const bool allAnswered = compiledGood == kRequests && textGood == kRequests;
  context.add({QStringLiteral("serve 1000 requests, 10 clients: compiled vs text"),
               QStringLiteral("2 KB"), compiledMs, allAnswered ? textMs : 0, 1.5});
}
