#include "wml/colour/SourceColouring.h"

#include "wml/syntax/Entities.h"
#include "wml/syntax/VariableReference.h"

namespace tessera::wml::colour {

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_' || c == u':'; }

bool isNameChar(QChar c) { return isNameStart(c) || c.isDigit() || c == u'-' || c == u'.'; }

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isHexDigit(QChar c) {
  return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// One pass over one line. Each scan* member starts at `pos` in its state and
// leaves `pos` after what it consumed, returning the state it stopped in.
class LineScanner {
public:
  LineScanner(QStringView line, QList<ColourSpan>* spans) : line_(line), spans_(spans) {}

  LineState run(LineState state) {
    while (pos_ < line_.size()) {
      switch (state) {
      case LineState::Text: state = scanText(); break;
      case LineState::TagName: state = scanTagName(); break;
      case LineState::InTag: state = scanInTag(); break;
      case LineState::ValueDouble: state = scanValue(u'"', LineState::ValueDouble); break;
      case LineState::ValueSingle: state = scanValue(u'\'', LineState::ValueSingle); break;
      case LineState::Comment: state = scanUntil(u"-->", SourceKind::Comment, state); break;
      case LineState::CData: state = scanUntil(u"]]>", SourceKind::CData, state); break;
      case LineState::Declaration: state = scanUntil(u"?>", SourceKind::Declaration, state); break;
      case LineState::Doctype:
      case LineState::DoctypeSubset: state = scanDoctype(state); break;
      }
    }
    return state;
  }

private:
  void mark(qsizetype start, qsizetype end, SourceKind kind) {
    if (!spans_ || end <= start)
      return;
    // Neighbours of one kind become one span: fewer format ranges to lay out.
    if (!spans_->isEmpty()) {
      ColourSpan& last = spans_->last();
      if (last.kind == kind && last.start + last.length == start) {
        last.length = int(end - last.start);
        return;
      }
    }
    spans_->append({int(start), int(end - start), kind});
  }

  bool startsWith(QStringView what) const { return line_.mid(pos_).startsWith(what); }

  LineState scanText() {
    while (pos_ < line_.size()) {
      const QChar c = line_[pos_];
      if (c == u'<')
        return scanMarkupStart();
      if (c == u'&')
        scanReference();
      else if (c == u'$')
        scanVariable();
      else
        ++pos_;
    }
    return LineState::Text;
  }

  // At a "<": a comment, CDATA section, declaration, DOCTYPE or tag.
  LineState scanMarkupStart() {
    if (startsWith(u"<!--")) {
      const qsizetype start = pos_;
      pos_ += 4;
      return finishUntil(start, u"-->", SourceKind::Comment, LineState::Comment);
    }
    if (startsWith(u"<![CDATA[")) {
      const qsizetype start = pos_;
      pos_ += 9;
      return finishUntil(start, u"]]>", SourceKind::CData, LineState::CData);
    }
    if (startsWith(u"<?")) {
      const qsizetype start = pos_;
      pos_ += 2;
      return finishUntil(start, u"?>", SourceKind::Declaration, LineState::Declaration);
    }
    if (startsWith(u"<!")) {
      mark(pos_, pos_ + 2, SourceKind::Doctype);
      pos_ += 2;
      return LineState::Doctype;
    }
    const qsizetype start = pos_;
    qsizetype next = pos_ + 1;
    if (next < line_.size() && line_[next] == u'/')
      ++next;
    if (next == line_.size()) {
      mark(start, next, SourceKind::Tag);
      pos_ = next;
      return LineState::TagName;
    }
    if (!isNameStart(line_[next])) {
      // "a < b" is not markup; the checker reports it, colouring leaves it plain.
      pos_ = start + 1;
      return LineState::Text;
    }
    pos_ = next;
    while (pos_ < line_.size() && isNameChar(line_[pos_]))
      ++pos_;
    mark(start, pos_, SourceKind::Tag);
    return LineState::InTag;
  }

  LineState scanTagName() {
    const qsizetype start = pos_;
    while (pos_ < line_.size() && isNameChar(line_[pos_]))
      ++pos_;
    mark(start, pos_, SourceKind::Tag);
    return LineState::InTag;
  }

  LineState scanInTag() {
    while (pos_ < line_.size()) {
      const QChar c = line_[pos_];
      if (c == u'>') {
        mark(pos_, pos_ + 1, SourceKind::Tag);
        ++pos_;
        return LineState::Text;
      }
      if (c == u'/' && pos_ + 1 < line_.size() && line_[pos_ + 1] == u'>') {
        mark(pos_, pos_ + 2, SourceKind::Tag);
        pos_ += 2;
        return LineState::Text;
      }
      if (c == u'<')
        return LineState::Text; // an unclosed tag: what follows starts afresh
      if (c == u'"' || c == u'\'') {
        mark(pos_, pos_ + 1, SourceKind::AttributeValue);
        ++pos_;
        return c == u'"' ? LineState::ValueDouble : LineState::ValueSingle;
      }
      if (isNameStart(c)) {
        const qsizetype start = pos_;
        while (pos_ < line_.size() && isNameChar(line_[pos_]))
          ++pos_;
        mark(start, pos_, SourceKind::AttributeName);
        continue;
      }
      if (c.isSpace() || c == u'=' || c == u'/') {
        ++pos_;
        continue;
      }
      // An unquoted value: not XML, but shown as the value it was meant to be.
      const qsizetype start = pos_;
      while (pos_ < line_.size() && !line_[pos_].isSpace() && line_[pos_] != u'>' &&
             line_[pos_] != u'<')
        ++pos_;
      mark(start, pos_, SourceKind::AttributeValue);
    }
    return LineState::InTag;
  }

  // Inside a quoted value, up to and including its closing quote.
  LineState scanValue(QChar quote, LineState inside) {
    qsizetype plainStart = pos_;
    while (pos_ < line_.size()) {
      const QChar c = line_[pos_];
      if (c == quote) {
        ++pos_;
        mark(plainStart, pos_, SourceKind::AttributeValue);
        return LineState::InTag;
      }
      if (c == u'&' || c == u'$') {
        // The value's own colour stops around a reference and resumes after it.
        mark(plainStart, pos_, SourceKind::AttributeValue);
        plainStart = pos_;
        if (c == u'&' ? scanReference() : scanVariable())
          plainStart = pos_;
        continue;
      }
      ++pos_;
    }
    mark(plainStart, pos_, SourceKind::AttributeValue);
    return inside;
  }

  // &name; (a name WML knows) &#123; &#x7B; — anything else is left as it is.
  bool scanReference() {
    const qsizetype start = pos_;
    qsizetype p = pos_ + 1;
    if (p < line_.size() && line_[p] == u'#') {
      ++p;
      const bool hex = p < line_.size() && (line_[p] == u'x' || line_[p] == u'X');
      if (hex)
        ++p;
      const qsizetype digits = p;
      while (p < line_.size() && (hex ? isHexDigit(line_[p]) : isAsciiDigit(line_[p])))
        ++p;
      if (p == digits)
        return fail(start);
    } else {
      if (p >= line_.size() || !isNameStart(line_[p]))
        return fail(start);
      while (p < line_.size() && isNameChar(line_[p]))
        ++p;
      // A name WML does not know is the checker's undefined entity: plain.
      if (!syntax::namedEntity(QStringView(line_).sliced(start + 1, p - start - 1)))
        return fail(start);
    }
    if (p >= line_.size() || line_[p] != u';')
      return fail(start);
    pos_ = p + 1;
    mark(start, pos_, SourceKind::Reference);
    return true;
  }

  // $$, $name, $(name), $(name:conversion), read as the checker reads them;
  // a malformed reference stays plain.
  bool scanVariable() {
    const qsizetype start = pos_;
    const syntax::VariableReference reference =
        syntax::scanVariableReference(QStringView(line_).sliced(start));
    if (reference.malformed())
      return fail(start);
    pos_ = start + reference.length;
    mark(start, pos_, SourceKind::Variable);
    return true;
  }

  bool fail(qsizetype start) {
    pos_ = start + 1;
    return false;
  }

  LineState finishUntil(qsizetype start, QStringView end, SourceKind kind, LineState open) {
    const qsizetype found = line_.indexOf(end, pos_);
    if (found < 0) {
      pos_ = line_.size();
      mark(start, pos_, kind);
      return open;
    }
    pos_ = found + end.size();
    mark(start, pos_, kind);
    return LineState::Text;
  }

  LineState scanUntil(QStringView end, SourceKind kind, LineState open) {
    return finishUntil(pos_, end, kind, open);
  }

  // A DOCTYPE ends at a ">" outside quotes and outside its [ ... ] subset.
  LineState scanDoctype(LineState state) {
    const qsizetype start = pos_;
    QChar quote;
    while (pos_ < line_.size()) {
      const QChar c = line_[pos_++];
      if (!quote.isNull()) {
        if (c == quote)
          quote = QChar();
      } else if (c == u'"' || c == u'\'') {
        quote = c;
      } else if (c == u'[') {
        state = LineState::DoctypeSubset;
      } else if (c == u']') {
        state = LineState::Doctype;
      } else if (c == u'>' && state == LineState::Doctype) {
        mark(start, pos_, SourceKind::Doctype);
        return LineState::Text;
      }
    }
    mark(start, pos_, SourceKind::Doctype);
    return state;
  }

  QStringView line_;
  QList<ColourSpan>* spans_;
  qsizetype pos_ = 0;
};

} // namespace

LineState scanLine(QStringView line, LineState state, QList<ColourSpan>* spans) {
  return LineScanner(line, spans).run(state);
}

} // namespace tessera::wml::colour
