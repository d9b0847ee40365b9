// The compiled-deck decoder on hostile bytes: no crash, no hang, bounded
// output; whatever it accepts is well-formed XML that compiles again, and
// that compiled form decodes too.
#include "FuzzSupport.h"
#include "wml/DeckCompiler.h"
#include "wml/WbxmlDecoder.h"

#include <libxml/parser.h>

using namespace tessera::wbxml;
using fuzzing::require;

namespace {
bool wellFormed(const QString& source) {
  const QByteArray utf8 = source.toUtf8();
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  xmlDocPtr document =
      xmlCtxtReadMemory(context, utf8.constData(), int(utf8.size()), nullptr, "UTF-8",
                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const bool ok = document && context->wellFormed;
  xmlFreeDoc(document);
  xmlFreeParserCtxt(context);
  return ok;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const DecodedDeck decoded = decodeDeck(bytes);
  if (!decoded.ok) {
    require(!decoded.error.isEmpty(), "a refused deck has no reason");
    return 0;
  }
  require(hasCompiledDeckHeader(bytes), "a decoded deck has no compiled-deck header");
  require(wellFormed(decoded.source), "the decoded source is not well-formed XML");
  for (bool table : {false, true}) {
    const CompiledDeck again = compileDeckText(decoded.source, table);
    require(again.wellFormed, "the decoded source does not compile");
    const DecodedDeck second = decodeDeck(again.bytes);
    require(second.ok, "a deck the encoder wrote does not decode");
    require(second.version == decoded.version, "compiling again changed the version");
  }
  return 0;
}
