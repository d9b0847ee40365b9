// Compiling a 100 KB deck to WBXML (our parse, with the WML document type,
// and our encoder) against a bare libxml2 parse of the same text plus
// libwbxml2's own conversion of it.
#include "Bench.h"
#include "SampleWml.h"

#include "wml/wbxml/DeckCompiler.h"

#include <libxml/parser.h>
#include <wbxml/wbxml.h>
#include <wbxml/wbxml_conv.h>

#include <cstdio>
#include <cstdlib>

BENCH_FIGURE(compileDeck, 80) {
  const QByteArray bytes = bench::sampleWml(100 * 1024);
  const QString text = QString::fromUtf8(bytes);
  qsizetype ours = 0;
  unsigned long theirs = 0;
  double oursMs = 0, referenceMs = 0;
  bench::bestOfAlternating(
      5, [&] { ours = tessera::wml::wbxml::compileDeckText(text).bytes.size(); },
      [&] {
        xmlDocPtr document =
            xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        xmlFreeDoc(document);
        WBXMLConvXML2WBXML* conv = nullptr;
        if (wbxml_conv_xml2wbxml_create(&conv) != WBXML_OK)
          return;
        wbxml_conv_xml2wbxml_set_version(conv, WBXML_VERSION_11);
        WB_UTINY* out = nullptr;
        WB_ULONG length = 0;
        auto* xml = const_cast<WB_UTINY*>(reinterpret_cast<const WB_UTINY*>(bytes.constData()));
        if (wbxml_conv_xml2wbxml_run(conv, xml, static_cast<WB_ULONG>(bytes.size()), &out,
                                     &length) == WBXML_OK)
          theirs = length;
        std::free(out);
        wbxml_conv_xml2wbxml_destroy(conv);
      },
      &oursMs, &referenceMs);
  std::printf("  (compiled: ours %lld bytes, libwbxml2 %lu bytes)\n", (long long)ours, theirs);
  context.add({QStringLiteral("compile a deck vs libxml2 parse + libwbxml2"),
               QStringLiteral("100 KB"), oursMs, theirs > 0 ? referenceMs : 0, 1.5});
  // The size a phone downloads, against libwbxml2's with its string table
  // on (it also drops what we keep: the blank before an inline element,
  // no-break spaces, variables as their own tokens).
  bench::Row size{QStringLiteral("compiled size vs libwbxml2 (string table on)"),
                  QStringLiteral("100 KB"), double(ours), double(theirs), 1.0};
  size.unit = QStringLiteral("B");
  context.add(size);
}
