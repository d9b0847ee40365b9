#include "wml/DeckDocument.h"

#include <QByteArray>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace tessera {

namespace {

// The first fault that stops the parse. An entity the unread DTD would
// declare (&nbsp;) is reported too, but does not make the text ill-formed.
struct FirstError {
  int line = 0;
  QString message;
};

void keepFirstError(void* userData, xmlErrorPtr error) {
  auto* first = static_cast<FirstError*>(userData);
  if (!error || error->level != XML_ERR_FATAL || !first->message.isEmpty())
    return;
  first->line = error->line;
  first->message = QString::fromUtf8(error->message).trimmed();
}

} // namespace

DeckDocument readDeckDocument(const QString& text, const QString& url) {
  const QByteArray bytes = text.toUtf8();
  const QByteArray name = url.toUtf8();
  FirstError first;
  // The handler is per thread in libxml2, so a worker thread's parse does
  // not disturb another's; the previous handler is put back afterwards.
  void* previousContext = xmlStructuredErrorContext;
  xmlStructuredErrorFunc previous = xmlStructuredError;
  xmlSetStructuredErrorFunc(&first, keepFirstError);
  xmlDoc* doc = xmlReadMemory(bytes.constData(), int(bytes.size()),
                              name.isEmpty() ? nullptr : name.constData(), "UTF-8",
                              XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOWARNING);
  xmlSetStructuredErrorFunc(previousContext, previous);

  DeckDocument result;
  if (doc) {
    result.doc.reset(doc);
    return result;
  }
  result.errorLine = first.line;
  result.errorMessage =
      first.message.isEmpty() ? QStringLiteral("The deck cannot be read") : first.message;
  return result;
}

} // namespace tessera
