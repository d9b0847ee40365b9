// The preview after an edit of a 100 KB deck: parsing the text again and
// showing the caret's card, against libxml2 parsing the same text alone.
#include "Bench.h"

#include "wml/agent/DeckDocument.h"
#include "wml/agent/PhoneScreens.h"
#include "wml/agent/UserAgent.h"

#include <libxml/parser.h>

namespace {

struct StillClock : tessera::wml::agent::AgentClock {
  qint64 nowTenths() const override { return 0; }
};

} // namespace

BENCH_FIGURE(previewRefresh, 75) {
  const QString text = QString::fromUtf8(bench::Context::sampleText(100 * 1024));
  const QByteArray utf8 = text.toUtf8();
  // The caret in a card near the middle, and the preview already showing it.
  StillClock clock;
  tessera::wml::agent::UserAgent agent(clock);
  agent.openDeck(text, QString());
  const int caretLine = int(text.left(text.size() / 2).count(u'\n')) + 1;
  QString shown;

  const auto ours = [&] {
    auto parsed = std::make_shared<tessera::wml::agent::DeckDocument>(
        tessera::wml::agent::readDeckDocument(text));
    const QString card =
        tessera::wml::agent::cardAtLine(tessera::wml::agent::cardStarts(*parsed), caretLine);
    agent.updateDeck(std::move(parsed), card);
    shown = agent.renderedText();
  };
  const auto libxml2 = [&] {
    xmlDoc* doc = xmlReadMemory(utf8.constData(), int(utf8.size()), nullptr, "UTF-8",
                                XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
    xmlFreeDoc(doc);
  };
  double oursMs = 0, referenceMs = 0;
  bench::bestOfAlternating(9, ours, libxml2, &oursMs, &referenceMs);
  if (!shown.startsWith(QStringLiteral("Card ")))
    qFatal("the preview did not show a card: %s", qPrintable(shown.left(80)));
  context.add({QStringLiteral("preview of the caret's card vs libxml2 parse"),
               QStringLiteral("100 KB"), oursMs, referenceMs, 2});
}
