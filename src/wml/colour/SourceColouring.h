#pragma once

#include <QList>
#include <QStringView>

namespace tessera::wml::colour {

// What a stretch of WML source is, for colouring. Plain text has no kind.
enum class SourceKind : unsigned char {
  Tag,            // "<", "</", ">", "/>" and the element name
  AttributeName,  // href
  AttributeValue, // "..." with its quotes
  Reference,      // &amp; &#160; &#xA0;
  Variable,       // $name $(name) $(name:e) $$
  Comment,        // <!-- ... -->
  Declaration,    // <?xml ... ?> and other processing instructions
  Doctype,        // <!DOCTYPE ... >
  CData,          // <![CDATA[ ... ]]>
};

struct ColourSpan {
  int start = 0;
  int length = 0;
  SourceKind kind = SourceKind::Tag;
  bool operator==(const ColourSpan&) const = default;
};

// Where a line ends up, carried to the next line: a comment, tag or quoted
// value may go on over many lines. The values are small non-negative numbers
// so that they fit the user state the text engine keeps per line.
enum class LineState : int {
  Text = 0,
  TagName,     // a "<" or "</" ended the line; the name comes next
  InTag,       // between attributes of a start or end tag
  ValueDouble, // inside an attribute value quoted with "
  ValueSingle, // inside an attribute value quoted with '
  Comment,
  CData,
  Declaration,
  Doctype,
  DoctypeSubset, // inside the [ ... ] of a DOCTYPE
};
constexpr int kLineStateCount = 10;

// Scans one line (without its break) that starts in `state`, returns the state
// it ends in and, when `spans` is given, appends the coloured stretches in
// order, without overlaps. Linear in the line's length.
LineState scanLine(QStringView line, LineState state, QList<ColourSpan>* spans);

} // namespace tessera::wml::colour
