// The compiled-deck decoder on hostile bytes: no crash, no hang, bounded
// output; whatever it accepts is well-formed XML that compiles again, and
// that compiled form decodes too.
#include "FuzzSupport.h"
#include "wml/wbxml/WbxmlDecoder.h"
#include "wml/wbxml/WbxmlEncoder.h"

#include <libxml/parser.h>

using namespace tessera::wml::wbxml;
using fuzzing::require;

namespace {
// Parses with libxml2 as the editor does (offline); null when not well-formed.
xmlDocPtr parse(const QString& source) {
  const QByteArray utf8 = source.toUtf8();
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  xmlDocPtr document =
      xmlCtxtReadMemory(context, utf8.constData(), int(utf8.size()), nullptr, "UTF-8",
                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (document && !context->wellFormed) {
    xmlFreeDoc(document);
    document = nullptr;
  }
  xmlFreeParserCtxt(context);
  return document;
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
  xmlDocPtr document = parse(decoded.source);
  require(document != nullptr, "the decoded source is not well-formed XML");
  for (bool table : {false, true}) {
    const QByteArray again = encodeDeck(document, EncodeOptions{table, Charset::Utf8});
    const DecodedDeck second = decodeDeck(again);
    require(second.ok, "a deck the encoder wrote does not decode");
    require(second.version == decoded.version, "compiling again changed the version");
  }
  xmlFreeDoc(document);
  return 0;
}
