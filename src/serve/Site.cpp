#include "serve/Site.h"

#include "serve/ContentTypes.h"
#include "serve/Negotiation.h"
#include "serve/RequestPath.h"
#include "serve/TextCharset.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace tessera::serve {
namespace {

Response plain(int status, const QString& message) {
  return Response{status, "text/plain; charset=utf-8", message.toUtf8() + '\n', false, {}};
}

Response methodNotAllowed(const QByteArray& allowed) {
  Response response = plain(405, QStringLiteral("Method not allowed; this address takes %1.")
                                     .arg(QString::fromLatin1(allowed)));
  response.headers.append({"Allow", allowed});
  return response;
}

bool hasSuffix(const QString& path, QLatin1String suffix) {
  return path.endsWith(suffix, Qt::CaseInsensitive);
}

Compiled compileDeckBytes(const QByteArray& bytes, const QByteArray& charset) {
  const std::optional<QString> text = decodeText(bytes, charset);
  if (!text)
    return {false, {}, QStringLiteral("the deck is not valid %1").arg(QLatin1String(charset))};
  wml::wbxml::CompiledDeck deck = wml::wbxml::compileDeckText(*text);
  return {deck.ok, std::move(deck.bytes), deck.error};
}

Compiled compileScriptBytes(const QByteArray& bytes, const QByteArray& charset) {
  const std::optional<QString> text = decodeText(bytes, charset);
  if (!text)
    return {false, {}, QStringLiteral("the script is not valid %1").arg(QLatin1String(charset))};
  wml::script::ScriptCompileResult script = wml::script::compileScript(*text);
  if (!script.ok())
    return {false, {}, wml::firstErrorText(script.findings)};
  return {true, std::move(script.bytecode), {}};
}

} // namespace

Site::Site(const QString& folder) : root_(QFileInfo(folder).canonicalFilePath()) {
  if (!QFileInfo(root_).isDir())
    root_.clear();
}

void Site::setEditorText(const QString& filePath, const QString& text, const QByteArray& charset) {
  const QFileInfo info(filePath);
  QString path =
      info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
  // Only a document inside the folder stands in for one of its files.
  if (!isServable(root_, path))
    path.clear();
  QMutexLocker lock(&editorMutex_);
  editorPath_ = path;
  editorText_ = text;
  editorCharset_ = charset.isEmpty() ? QByteArray("utf-8") : charset.toLower();
  editorEncoded_.reset();
}

void Site::clearEditorText() {
  QMutexLocker lock(&editorMutex_);
  editorPath_.clear();
  editorText_.clear();
  editorEncoded_.reset();
}

std::optional<Site::Source> Site::editorSource(const QString& path) {
  QMutexLocker lock(&editorMutex_);
  if (editorPath_.isEmpty() || path != editorPath_)
    return std::nullopt;
  if (!editorEncoded_) {
    // A character the document's charset cannot hold: the text goes out in
    // UTF-8, labelled so, rather than with a character lost.
    QByteArray charset = editorCharset_;
    std::optional<QByteArray> bytes = encodeText(editorText_, charset);
    if (!bytes) {
      charset = "utf-8";
      bytes = editorText_.toUtf8();
    }
    editorEncoded_ = Source{editorPath_, *bytes, charset};
  }
  return editorEncoded_;
}

Response Site::respond(const Request& request) {
  const bool reading = request.method == "GET" || request.method == "HEAD";
  if (!reading && request.method != "POST")
    return methodNotAllowed("GET, HEAD, POST");
  if (root_.isEmpty())
    return plain(404, QStringLiteral("The served folder is gone."));
  const RequestPath parsed = parseRequestPath(request.path);
  if (parsed.verdict == RequestPath::Verdict::Malformed)
    return plain(400, QStringLiteral("Not a path."));
  if (parsed.verdict == RequestPath::Verdict::Refused)
    return plain(403, QStringLiteral("Not served."));

  QString candidate = root_;
  if (!parsed.segments.isEmpty())
    candidate += u'/' + parsed.segments.join(u'/');
  bool compiledAsked = false;
  QFileInfo info(candidate);
  if (!info.exists() && !editorSource(candidate) &&
      (hasSuffix(candidate, QLatin1String(".wmlc")) ||
       hasSuffix(candidate, QLatin1String(".wmlsc")))) {
    // "name.wmlc" where only "name.wml" exists: that deck, compiled.
    candidate.chop(1);
    info = QFileInfo(candidate);
    compiledAsked = true;
  }
  std::optional<Source> source = editorSource(candidate);
  if (!source && info.exists()) {
    if (info.isDir()) {
      if (!parsed.endsWithSlash && !parsed.segments.isEmpty()) {
        Response moved = plain(301, QStringLiteral("A folder."));
        moved.headers.append({"Location", QUrl::toPercentEncoding(request.path, "/") + '/'});
        return moved;
      }
      // No listings: a folder answers with its index deck or not at all.
      candidate = info.canonicalFilePath() + QStringLiteral("/index.wml");
      info = QFileInfo(candidate);
      source = editorSource(candidate);
    }
  }
  if (!source) {
    if (!info.exists())
      return plain(404, QStringLiteral("Not found."));
    const QString canonical = info.canonicalFilePath();
    if (!isServable(root_, canonical) || !info.isFile())
      return plain(403, QStringLiteral("Not served."));
    source = editorSource(canonical);
    if (!source) {
      if (info.size() > kFileLimit)
        return plain(500, QStringLiteral("Too large to serve."));
      QFile file(canonical);
      if (!file.open(QIODevice::ReadOnly))
        return plain(403, QStringLiteral("Cannot be read."));
      source = Source{canonical, file.readAll(), {}};
    }
  }

  const Kind kind = hasSuffix(source->path, QLatin1String(".wml"))    ? Kind::Deck
                    : hasSuffix(source->path, QLatin1String(".wmls")) ? Kind::Script
                                                                      : Kind::Other;
  if (kind != Kind::Other && source->charset.isEmpty())
    source->charset = charsetOf(source->bytes);
  return answerSource(request, *source, kind, compiledAsked);
}

Response Site::answerSource(const Request& request, const Source& source, Kind kind,
                            bool compiledAsked) {
  if (kind == Kind::Other) {
    if (request.method == "POST")
      return methodNotAllowed("GET, HEAD");
    const QByteArray type = mediaTypeForFile(source.path);
    return Response{200, contentTypeHeader(type, "utf-8"), source.bytes, false, {}};
  }
  const QByteArray textType = kind == Kind::Deck ? kDeckType : kScriptType;
  const QByteArray compiledType = kind == Kind::Deck ? kCompiledDeckType : kCompiledScriptType;
  const Form form =
      compiledAsked ? Form::Compiled : negotiateForm(request.accept, textType, compiledType);
  if (request.method == "POST") {
    if (kind != Kind::Deck)
      return methodNotAllowed("GET, HEAD");
    const QString reply = postedFieldsDeck(request.path, request.fields);
    if (form == Form::Compiled) {
      wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(reply);
      return Response{200, kCompiledDeckType, std::move(compiled.bytes), true, {}};
    }
    return Response{200, contentTypeHeader(kDeckType, "utf-8"), reply.toUtf8(), false, {}};
  }
  Response response = formResponse(source, kind, form);
  // A cache between the server and the phone (a gateway's) keeps one form
  // per Accept header.
  if (!compiledAsked)
    response.headers.append({QByteArray("Vary"), QByteArray("Accept")});
  return response;
}

Response Site::formResponse(const Source& source, Kind kind, Form form) {
  const QByteArray textType = kind == Kind::Deck ? kDeckType : kScriptType;
  const QByteArray compiledType = kind == Kind::Deck ? kCompiledDeckType : kCompiledScriptType;
  switch (form) {
  case Form::Refused:
    return plain(406, QStringLiteral("The client takes neither %1 nor %2.")
                          .arg(QLatin1String(textType), QLatin1String(compiledType)));
  case Form::Compiled: return compiledResponse(source, kind);
  case Form::Text: break;
  }
  return Response{200, contentTypeHeader(textType, source.charset), source.bytes, false, {}};
}

Response Site::compiledResponse(const Source& source, Kind kind) {
  const QByteArray charset = source.charset;
  const Compiled compiled =
      cache_.get(source.path, source.bytes, [kind, charset](const QByteArray& bytes) {
        return kind == Kind::Deck ? compileDeckBytes(bytes, charset)
                                  : compileScriptBytes(bytes, charset);
      });
  if (!compiled.ok)
    return plain(500, QStringLiteral("Cannot compile %1: %2")
                          .arg(QFileInfo(source.path).fileName(), compiled.error));
  return Response{
      200, kind == Kind::Deck ? kCompiledDeckType : kCompiledScriptType, compiled.bytes, true, {}};
}

} // namespace tessera::serve
