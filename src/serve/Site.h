#pragma once

#include "serve/CompiledCache.h"
#include "serve/Negotiation.h"
#include "serve/PostedFields.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QString>

#include <optional>

namespace tessera::serve {

struct Request {
  QByteArray method;
  QString path; // percent-decoded, without the query
  QByteArray accept;
  QList<FormField> fields; // a POST's form fields
};

struct Response {
  int status = 200;
  QByteArray contentType;
  QByteArray body;
  bool compiled = false;
  QList<QPair<QByteArray, QByteArray>> headers; // Location, Allow
};

// Answers requests for the files of one folder: what a path names, which
// form a deck or script is sent in, the editor's unsaved text in place of
// its file, a POST's fields. Safe to call from many threads at once.
class Site {
public:
  explicit Site(const QString& folder);

  // The folder's canonical path; empty when it does not exist.
  QString folder() const { return root_; }

  // The editor's text of the document at `filePath`, sent instead of that
  // file's bytes (in `charset`, else UTF-8) until cleared. Called with a
  // snapshot the main thread took; encoded on the first request for it.
  void setEditorText(const QString& filePath, const QString& text, const QByteArray& charset);
  void clearEditorText();

  Response respond(const Request& request);

  const CompiledCache& cache() const { return cache_; }

  // Files larger than this are not sent.
  static constexpr qint64 kFileLimit = 16 * 1024 * 1024;

private:
  struct Source {
    QString path;     // canonical path of the file (or the edited document)
    QByteArray bytes; // what the file holds (or the editor's text encoded)
    QByteArray charset;
  };
  enum class Kind { Deck, Script, Other };

  // The bytes at `path` (a file inside the folder, or the edited document),
  // or the error response that refuses it.
  std::optional<Source> editorSource(const QString& path);
  Response answerSource(const Request& request, const Source& source, Kind kind,
                        bool compiledAsked);
  Response formResponse(const Source& source, Kind kind, Form form);
  Response compiledResponse(const Source& source, Kind kind);

  QString root_;
  CompiledCache cache_;

  QMutex editorMutex_;
  QString editorPath_; // empty when the editor's text is not served
  QString editorText_;
  QByteArray editorCharset_;
  std::optional<Source> editorEncoded_;
};

} // namespace tessera::serve
