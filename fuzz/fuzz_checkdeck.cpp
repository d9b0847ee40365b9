// The deck checker on any text: it never crashes or reads outside the text,
// every finding is placed inside the text (a line that exists, a column on
// it or just after its end), findings come sorted, and a deck that is not
// well-formed gives at least one error.
#include "FuzzSupport.h"
#include "wml/ParsedDeck.h"
#include "wml/check/DeckChecker.h"

#include <libxml/tree.h>

#include <QRegularExpression>
#include <QStringList>

using namespace tessera::wml;
using namespace tessera::wml::check;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const ParsedDeck deck = parseDeck(text);
  const QList<Finding> findings = checkParsedDeck(deck);

  // A line ends at LF, CR LF or a lone CR, as the editor counts them.
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  const QStringList lines = text.split(lineBreak);
  tessera::LineColumn previous;
  for (const Finding& finding : findings) {
    require(finding.start.line >= 1 && finding.start.line <= lines.size(),
            "a finding on a line not there");
    require(finding.start.column >= 1, "a finding before the first column");
    require(!finding.message.isEmpty(), "a finding without a message");
    require(finding.start >= previous, "findings out of order");
    previous = finding.start;
  }
  if (!deck.wellFormed())
    require(hasError(findings), "a text that is not well-formed passed");
  if (xmlNode* root = deck.root())
    require(deck.position(root).line >= 1, "the root element has no place");
  return 0;
}
