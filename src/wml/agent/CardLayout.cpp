#include "wml/agent/CardLayout.h"

#include "wml/agent/WmlForms.h"
#include "wml/xml/XmlNodes.h"

#include <QStringList>

namespace tessera::wml::agent {

namespace {

int styleBit(const xmlNode* element) {
  static const struct {
    const char* name;
    int bit;
  } styles[] = {{"b", StyleBold},       {"i", StyleItalic},    {"u", StyleUnderline},
                {"big", StyleBig},      {"small", StyleSmall}, {"em", StyleEmphasis},
                {"strong", StyleStrong}};
  for (const auto& style : styles)
    if (xml::isElement(element, style.name))
      return style.bit;
  return 0;
}

bool isTask(const xmlNode* element) {
  return xml::isElement(element, "go") || xml::isElement(element, "prev") ||
         xml::isElement(element, "refresh") || xml::isElement(element, "noop");
}

bool isCollapsibleSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

class LayoutBuilder {
public:
  LayoutBuilder(const WmlVariables& variables, CardLayout& layout)
      : variables(variables), layout(layout) {}

  void card(const xmlNode* card) {
    for (xmlNode* child = card->children; child; child = child->next) {
      if (xml::isElement(child, "p") || xml::isElement(child, "pre"))
        paragraph(child);
      else if (xml::isElement(child, "onevent") || xml::isElement(child, "timer") ||
               xml::isElement(child, "do"))
        continue;
      else
        node(child); // text outside a paragraph, shown rather than lost
    }
    endLine(false);
  }

private:
  void paragraph(const xmlNode* p) {
    endLine(false);
    const QString align = xml::attribute(p, "align").trimmed();
    current.align = align == QLatin1String("center")  ? LineAlign::Center
                    : align == QLatin1String("right") ? LineAlign::Right
                                                      : LineAlign::Left;
    current.wrap = xml::attribute(p, "mode").trimmed() != QLatin1String("nowrap");
    lineAlign = current.align;
    lineWrap = current.wrap;
    inlineChildren(p);
    endLine(false);
    lineAlign = LineAlign::Left;
    lineWrap = true;
    current.align = lineAlign;
    current.wrap = lineWrap;
  }

  void inlineChildren(const xmlNode* parent) {
    for (xmlNode* child = parent->children; child; child = child->next)
      node(child);
  }

  void node(const xmlNode* n) {
    if (!xml::isElement(n)) {
      appendText(substituteVariables(xml::textOf(n), variables));
      return;
    }
    if (const int bit = styleBit(n)) {
      const int saved = style;
      style |= bit;
      inlineChildren(n);
      style = saved;
    } else if (xml::isElement(n, "br")) {
      endLine(true);
    } else if (xml::isElement(n, "a") || xml::isElement(n, "anchor")) {
      link(n);
    } else if (xml::isElement(n, "img")) {
      ScreenRun run;
      run.kind = ScreenRun::Kind::Image;
      run.text = substituteVariables(xml::attribute(n, "alt"), variables);
      run.source =
          substituteVariables(xml::attribute(n, "src"), variables, VariableContext::Address);
      appendAtom(run);
    } else if (xml::isElement(n, "input")) {
      ScreenRun run;
      run.kind = ScreenRun::Kind::Input;
      run.text = inputShownValue(n, variables);
      run.control = int(layout.inputs.size());
      layout.inputs.push_back(const_cast<xmlNode*>(n));
      appendAtom(run);
    } else if (xml::isElement(n, "select")) {
      ScreenRun run;
      run.kind = ScreenRun::Kind::Select;
      const std::vector<xmlNode*> options = selectOptions(n);
      QStringList labels;
      for (int index : currentSelection(n, variables))
        labels << optionLabel(options[size_t(index)], variables);
      run.text = labels.join(QStringLiteral(", "));
      run.control = int(layout.selects.size());
      layout.selects.push_back(const_cast<xmlNode*>(n));
      appendAtom(run);
    } else if (xml::isElement(n, "table")) {
      table(n);
    } else if (xml::isElement(n, "p") || xml::isElement(n, "pre")) {
      paragraph(n);
    } else if (xml::isElement(n, "fieldset")) {
      inlineChildren(n);
    } else if (isTask(n) || xml::isElement(n, "do") || xml::isElement(n, "onevent") ||
               xml::isElement(n, "timer") || xml::isElement(n, "setvar") ||
               xml::isElement(n, "postfield")) {
      // Behaviour, not content.
    } else {
      inlineChildren(n);
    }
  }

  void link(const xmlNode* element) {
    const int saved = linkIndex;
    linkIndex = int(layout.links.size());
    layout.links.push_back(const_cast<xmlNode*>(element));
    inlineChildren(element);
    linkIndex = saved;
  }

  void table(const xmlNode* tableElement) {
    endLine(false);
    for (const xmlNode* row : xml::childElements(tableElement, "tr")) {
      current.tableRow = true;
      bool firstCell = true;
      for (const xmlNode* cell : xml::childElements(row, "td")) {
        if (!firstCell) {
          pendingSpace = false;
          ScreenRun separator;
          separator.kind = ScreenRun::Kind::CellBreak;
          current.runs.push_back(separator);
          atCellStart = true;
        }
        firstCell = false;
        inlineChildren(cell);
      }
      endLine(true);
    }
  }

  void appendText(const QString& text) {
    for (QChar c : text) {
      if (isCollapsibleSpace(c)) {
        pendingSpace = true;
        continue;
      }
      if (c == QChar(0x00AD)) // a soft hyphen shows only where a line breaks
        continue;
      flushSpace();
      appendCharacter(c, style, linkIndex);
      noteContent();
    }
  }

  void appendAtom(const ScreenRun& atom) {
    flushSpace();
    ScreenRun run = atom;
    run.style = style;
    run.link = linkIndex;
    current.runs.push_back(run);
    noteContent();
  }

  void noteContent() {
    atCellStart = false;
    lastLink = linkIndex;
    lastStyle = style;
  }

  // A space between two pieces belongs to a link only when both do.
  void flushSpace() {
    if (pendingSpace && !atCellStart) {
      const bool sameLink = lastLink == linkIndex;
      appendCharacter(u' ', sameLink && lastStyle == style ? style : 0, sameLink ? linkIndex : -1);
    }
    pendingSpace = false;
  }

  void appendCharacter(QChar c, int runStyle, int runLink) {
    if (!current.runs.empty()) {
      ScreenRun& last = current.runs.back();
      if (last.kind == ScreenRun::Kind::Text && last.style == runStyle && last.link == runLink) {
        last.text += c;
        return;
      }
    }
    ScreenRun run;
    run.text = c;
    run.style = runStyle;
    run.link = runLink;
    current.runs.push_back(run);
  }

  // keepEmpty: a br ends a line even when it is empty; a paragraph's end does not.
  void endLine(bool keepEmpty) {
    if (keepEmpty || !current.runs.empty())
      layout.screen.lines.push_back(current);
    current = ScreenLine();
    current.align = lineAlign;
    current.wrap = lineWrap;
    pendingSpace = false;
    atCellStart = true;
    lastLink = -1;
    lastStyle = 0;
  }

  const WmlVariables& variables;
  CardLayout& layout;
  ScreenLine current;
  LineAlign lineAlign = LineAlign::Left;
  bool lineWrap = true;
  int style = 0;
  int linkIndex = -1;
  int lastLink = -1;
  int lastStyle = 0;
  bool pendingSpace = false;
  bool atCellStart = true;
};

} // namespace

CardLayout layOutCard(const xmlNode* card, const WmlVariables& variables) {
  CardLayout layout;
  layout.screen.kind = Screen::Kind::Card;
  layout.screen.title =
      collapsedText(substituteVariables(xml::attribute(card, "title"), variables));
  LayoutBuilder(variables, layout).card(card);
  return layout;
}

} // namespace tessera::wml::agent
