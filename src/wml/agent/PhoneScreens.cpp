#include "wml/agent/PhoneScreens.h"

#include "wml/xml/XmlNodes.h"

#include <algorithm>

namespace tessera::wml::agent {

Screen inputEditScreen(const QString& title, const QString& shownValue, const QString& rule,
                       const QString& refusal) {
  Screen screen;
  screen.kind = Screen::Kind::Edit;
  screen.title = title;
  screen.lines.push_back(inputLine(shownValue));
  if (!rule.isEmpty())
    screen.lines.push_back(plainLine(QStringLiteral("Format: ") + rule));
  if (!refusal.isEmpty())
    screen.lines.push_back(plainLine(refusal));
  screen.leftKey = QStringLiteral("OK");
  screen.rightKey = QStringLiteral("Back");
  return screen;
}

Screen listScreen(const QString& title, const QStringList& labels, const std::vector<int>& chosen,
                  bool multiple) {
  Screen screen;
  screen.kind = Screen::Kind::List;
  screen.title = title;
  for (int i = 0; i < labels.size(); ++i) {
    const bool on = std::find(chosen.begin(), chosen.end(), i) != chosen.end();
    const QString mark = multiple ? (on ? QStringLiteral("[x] ") : QStringLiteral("[ ] "))
                                  : (on ? QStringLiteral("(*) ") : QStringLiteral("( ) "));
    ScreenLine line = plainLine(mark + labels.at(i));
    screen.lines.push_back(line);
  }
  screen.leftKey = QStringLiteral("Select");
  screen.rightKey = QStringLiteral("Back");
  return screen;
}

std::vector<CardStart> cardStarts(const DeckDocument& deck) {
  std::vector<CardStart> starts;
  if (!deck.ok())
    return starts;
  const xmlNode* root = xmlDocGetRootElement(deck.tree());
  for (const xmlNode* card : xml::childElements(root, "card"))
    starts.push_back({deck.parsed.position(card).line, xml::attribute(card, "id")});
  return starts;
}

QString cardAtLine(const std::vector<CardStart>& starts, int line) {
  const auto after = std::upper_bound(starts.begin(), starts.end(), line,
                                      [](int l, const CardStart& start) { return l < start.line; });
  if (after == starts.begin())
    return starts.empty() ? QString() : starts.front().id;
  return std::prev(after)->id;
}

} // namespace tessera::wml::agent
