// Reading a file in whatever encoding its bytes suggest: any bytes decode
// without a crash, the text holds only CR LF breaks, an unedited save gives
// back the very bytes when the breaks were of one kind, and reading the
// saved bytes gives the same text in the same encoding.
#include "FuzzSupport.h"
#include "document/EncodingDetection.h"
#include "document/TextEncoder.h"

using namespace tessera;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const DecodedFile first = decodeFile(bytes);
  require(first.text.count(QLatin1Char('\r')) == first.text.count(QStringLiteral("\r\n")) &&
              first.text.count(QLatin1Char('\n')) == first.text.count(QStringLiteral("\r\n")),
          "decoded text has a lone CR or LF");
  const QByteArray saved = encodeText(first.text, first.encoding, first.lineBreaks);
  if (!first.mixedLineBreaks) {
    require(saved == bytes, "an unedited save changed the bytes");
    const DecodedFile second = decodeFile(saved);
    require(second.text == first.text, "load, save, load changed the text");
    require(second.encoding == first.encoding, "load, save, load changed the encoding");
  }
  require(findUnencodable(first.text, first.encoding).count == 0,
          "the text read holds a character its own encoding cannot write");
  return 0;
}
