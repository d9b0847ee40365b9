#include "document/DocumentWriter.h"

#include <QIODevice>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>

namespace tessera {

namespace {
constexpr qsizetype kChunk = qsizetype(1) << 18;

bool fitsLatin1(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 0xFF)
      return false;
  return true;
}
} // namespace

TextEncoding encodingToWrite(const QTextDocument& document, TextEncoding loaded) {
  if (loaded != TextEncoding::Latin1)
    return TextEncoding::Utf8;
  for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next())
    if (!fitsLatin1(block.text()))
      return TextEncoding::Utf8;
  return TextEncoding::Latin1;
}

bool writeDocument(const QTextDocument& document, TextEncoding encoding, QIODevice& out) {
  QStringEncoder encoder(encoding == TextEncoding::Latin1 ? QStringEncoder::Latin1
                                                          : QStringEncoder::Utf8,
                         QStringEncoder::Flag::Stateless);
  QByteArray chunk(kChunk, Qt::Uninitialized);
  char* const begin = chunk.data();
  char* end = begin;
  const auto flush = [&] {
    const qint64 size = end - begin;
    end = begin;
    return size == 0 || out.write(begin, size) == size;
  };
  const QTextBlock first = document.firstBlock();
  for (QTextBlock block = first; block.isValid(); block = block.next()) {
    const QString text = block.text();
    const qsizetype need = encoder.requiredSpace(text.size()) + 2;
    if ((end - begin) + need > kChunk && !flush())
      return false;
    if (block != first) {
      *end++ = '\r';
      *end++ = '\n';
    }
    if (need > kChunk) { // a line longer than the buffer goes on its own
      if (!flush())
        return false;
      const QByteArray line = encoder.encode(text);
      if (out.write(line) != line.size())
        return false;
      continue;
    }
    end = encoder.appendToBuffer(end, text);
  }
  return flush();
}

} // namespace tessera
