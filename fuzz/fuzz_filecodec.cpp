// The file decoder and line-break normaliser: any bytes decode without a
// crash, the text holds only CR LF breaks, and saving then loading again
// gives the same text in the same encoding.
#include "FuzzSupport.h"
#include "document/FileCodec.h"

using namespace tessera;
using fuzzing::require;

namespace {
bool onlyCrLfBreaks(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('\r')) {
      if (i + 1 >= text.size() || text[i + 1] != QLatin1Char('\n'))
        return false;
      ++i;
    } else if (text[i] == QLatin1Char('\n')) {
      return false;
    }
  }
  return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const DecodedText first = decodeDocument(bytes);
  require(onlyCrLfBreaks(first.text), "decoded text has a lone CR or LF");
  require(first.text.size() >= bytes.count('\r') + bytes.count('\n') - bytes.count("\r\n"),
          "a line break was lost");

  const QByteArray saved = encodeDocument(first.text, first.encoding);
  const DecodedText second = decodeDocument(saved);
  require(second.text == first.text, "load, save, load changed the text");
  require(second.encoding == first.encoding, "load, save, load changed the encoding");
  require(encodeDocument(second.text, second.encoding) == saved, "second save differs");

  // Without line breaks to normalise, a Latin-1 file is written back byte for byte.
  if (first.encoding == TextEncoding::Latin1 && !bytes.contains('\r') && !bytes.contains('\n'))
    require(saved == bytes, "a Latin-1 byte changed");

  // Text typed into the editor (any code units) survives a save and a load
  // up to its line breaks.
  const QString typed = fuzzing::utf16Of(data, size);
  const QString normal = normaliseLineBreaks(typed);
  require(onlyCrLfBreaks(normal), "normalised text has a lone CR or LF");
  require(normaliseLineBreaks(normal) == normal, "normalising twice changes the text");
  return 0;
}
