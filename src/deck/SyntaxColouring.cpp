#include "deck/SyntaxColouring.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>

#include <cmath>

namespace tessera {

using wml::colour::LineState;
using wml::colour::SourceKind;

namespace {

// A block's user state: the state the line starts in (4 bits), the state it
// ends in (4 bits) and the round its formats were made in (0: none yet).
// -1, the toolkit's value for a new line, means nothing is known.
constexpr int kUnknown = -1;
constexpr int kLastRound = (1 << 22) - 1;

int pack(wml::colour::LineState start, wml::colour::LineState end, int round) {
  return int(start) | int(end) << 4 | round << 8;
}
wml::colour::LineState startOf(int state) { return wml::colour::LineState(state & 0xF); }
wml::colour::LineState endOf(int state) { return wml::colour::LineState((state >> 4) & 0xF); }
int roundOf(int state) { return state >> 8; }

// An edit touching more lines than this (a paste, Replace All, a load) does
// not check its lines at once; they are checked when something below is shown.
constexpr int kRescanLimit = 200;

QColor mix(const QColor& a, const QColor& b, qreal share) {
  return QColor::fromRgbF(float(a.redF() * share + b.redF() * (1 - share)),
                          float(a.greenF() * share + b.greenF() * (1 - share)),
                          float(a.blueF() * share + b.blueF() * (1 - share)));
}

} // namespace

SyntaxColouring::SyntaxColouring(QPlainTextEdit& editor)
    : QObject(&editor), editor_(editor), viewport_(editor.viewport()) {
  QTextDocument* document = editor.document();
  blockCount_ = document->blockCount();
  connect(document, &QTextDocument::contentsChange, this, &SyntaxColouring::onContentsChange);
  editor.installEventFilter(this);
  editor.viewport()->installEventFilter(this);
  pickColours();
}

void SyntaxColouring::setEnabled(bool on) {
  if (on == enabled_)
    return;
  enabled_ = on;
  nextRound();
}

void SyntaxColouring::refresh() { nextRound(); }

void SyntaxColouring::setLanguage(Language language) {
  if (language == language_)
    return;
  language_ = language;
  // The states held are the other language's: every line is unknown again
  // (this comes with an open or a save under another name, not typing).
  for (QTextBlock b = editor_.document()->firstBlock(); b.isValid(); b = b.next())
    b.setUserState(kUnknown);
  trustedLines_ = 0;
  nextRound();
}

QColor SyntaxColouring::colourOf(wml::script::ScriptKind kind) const {
  return scriptFormats_[size_t(kind)].foreground().color();
}

LineState SyntaxColouring::scan(QStringView text, LineState in,
                                QList<QPair<wml::colour::ColourSpan, int>>* spans) const {
  if (language_ == Language::Wml) {
    QList<wml::colour::ColourSpan> found;
    const LineState out = wml::colour::scanLine(text, in, spans ? &found : nullptr);
    for (const wml::colour::ColourSpan& span : found)
      spans->append({span, int(span.kind)});
    return out;
  }
  QList<wml::script::ScriptSpan> found;
  const auto out = wml::script::scanScriptLine(text, wml::script::ScriptLineState(int(in)),
                                               spans ? &found : nullptr);
  for (const wml::script::ScriptSpan& span : found)
    spans->append(
        {wml::colour::ColourSpan{span.start, span.length, SourceKind::Tag}, int(span.kind)});
  return LineState(int(out));
}

void SyntaxColouring::nextRound() {
  round_ = round_ == kLastRound ? 1 : round_ + 1;
  editor_.viewport()->update();
}

QColor SyntaxColouring::colourOf(wml::colour::SourceKind kind) const {
  return formats_[size_t(kind)].foreground().color();
}

// Two sets of hues, one for light and one for dark backgrounds; comments
// take a tone between the editor's own text and background colours, so they
// recede on any background.
void SyntaxColouring::pickColours() {
  const QPalette palette = editor_.palette();
  const QColor background = palette.color(QPalette::Base);
  const bool dark = background.lightnessF() < 0.5;
  const auto set = [this](wml::colour::SourceKind kind, const QColor& colour) {
    formats_[size_t(kind)] = QTextCharFormat();
    formats_[size_t(kind)].setForeground(colour);
  };
  set(wml::colour::SourceKind::Tag, dark ? QColor(0x7f, 0xb2, 0xff) : QColor(0x1a, 0x4f, 0xa0));
  set(wml::colour::SourceKind::AttributeName,
      dark ? QColor(0xff, 0xb3, 0x6b) : QColor(0x8a, 0x3d, 0x00));
  set(wml::colour::SourceKind::AttributeValue,
      dark ? QColor(0x8b, 0xe2, 0x8b) : QColor(0x0b, 0x7a, 0x2a));
  set(wml::colour::SourceKind::Reference,
      dark ? QColor(0xe3, 0x9b, 0xff) : QColor(0x8b, 0x1a, 0x8b));
  set(wml::colour::SourceKind::Variable,
      dark ? QColor(0xff, 0x7f, 0xc3) : QColor(0xb3, 0x00, 0x6b));
  // The editor's text keeps the system's colour, which may be as dark as a
  // chosen background: then plain text and '=' get a light tone of their own.
  const QColor text = palette.color(QPalette::Text);
  const bool textContrasts = std::abs(text.lightnessF() - background.lightnessF()) >= 0.4;
  const QColor readable = textContrasts ? text : (dark ? QColor(0xe6, 0xe6, 0xe6) : Qt::black);
  plainFormat_ = QTextCharFormat();
  if (!textContrasts)
    plainFormat_.setForeground(readable);
  set(SourceKind::Comment, mix(readable, background, 0.6));
  set(SourceKind::Declaration, dark ? QColor(0xb0, 0xb0, 0xff) : QColor(0x5a, 0x5a, 0x9c));
  set(SourceKind::Doctype, dark ? QColor(0xb0, 0xb0, 0xff) : QColor(0x5a, 0x5a, 0x9c));
  set(SourceKind::CData, dark ? QColor(0xe0, 0xd0, 0x70) : QColor(0x7a, 0x6a, 0x00));
  // WMLScript in the same hues: keywords as tags, strings as values,
  // library and function names as attribute names and variables.
  using wml::script::ScriptKind;
  const auto script = [this](ScriptKind kind, SourceKind like) {
    scriptFormats_[size_t(kind)] = formats_[size_t(like)];
  };
  script(ScriptKind::Keyword, SourceKind::Tag);
  script(ScriptKind::String, SourceKind::AttributeValue);
  script(ScriptKind::Number, SourceKind::Reference);
  script(ScriptKind::Comment, SourceKind::Comment);
  script(ScriptKind::Library, SourceKind::AttributeName);
  script(ScriptKind::Function, SourceKind::Variable);
}

bool SyntaxColouring::eventFilter(QObject* watched, QEvent* event) {
  // Compared by the pointers kept at the start: the filter still sees events
  // while the editor is being taken down, when it can no longer be asked.
  if (watched == viewport_ && event->type() == QEvent::Paint)
    formatShownLines();
  else if (watched == static_cast<QObject*>(&editor_) && event->type() == QEvent::PaletteChange) {
    pickColours();
    nextRound();
  }
  return false;
}

void SyntaxColouring::onContentsChange(int from, int /*removed*/, int added) {
  QTextDocument* document = editor_.document();
  const int count = document->blockCount();
  const int delta = count - blockCount_;
  blockCount_ = count;

  QTextBlock first = document->findBlock(from);
  QTextBlock last = document->findBlock(from + added);
  if (!first.isValid())
    first = document->lastBlock();
  if (!last.isValid())
    last = document->lastBlock();
  const int firstNumber = first.blockNumber();
  const int lastNumber = last.blockNumber();
  const bool small = lastNumber - firstNumber <= kRescanLimit;
  // The lines the edit wrote are unknown. (A load makes every line new and
  // unknown already; walking them costs little beside making them.)
  for (QTextBlock b = first; b.isValid(); b = b.next()) {
    if (b.userState() != kUnknown)
      b.setUserState(kUnknown);
    if (b == last)
      break;
  }
  // The toolkit lays the edited lines out again right after this; their old
  // formats no longer fit the text and would only make that slower (each
  // range is a run of its own). They get new ones when they are shown.
  if (lastNumber - firstNumber <= kRescanLimit)
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
      if (!b.layout()->formats().isEmpty())
        b.layout()->setFormats({});
      if (b == last)
        break;
    }

  if (firstNumber >= trustedLines_) {
    trustedLines_ = std::min(trustedLines_, count);
    return;
  }
  // Edited above the trusted edge: the lines below the edit keep their
  // states if the edit ends in the state its old text ended in, which the
  // line after it still holds as its start.
  const int oldTrusted = trustedLines_;
  const QTextBlock after = last.next();
  const bool afterWasTrusted =
      after.isValid() && after.blockNumber() - delta < oldTrusted && after.userState() != kUnknown;
  if (small) {
    wml::colour::LineState in =
        firstNumber == 0 ? wml::colour::LineState::Text : endOf(first.previous().userState());
    for (QTextBlock b = first; b.isValid() && b.blockNumber() <= lastNumber; b = b.next())
      in = settleStates(b, in);
    if (afterWasTrusted && in == startOf(after.userState())) {
      trustedLines_ = oldTrusted + delta;
      return;
    }
    trustedLines_ = lastNumber + 1;
    return;
  }
  trustedLines_ = firstNumber;
}

// The states of one line from the state it starts in, scanning only when
// what it holds does not follow from `in`. Returns the state it ends in.
wml::colour::LineState SyntaxColouring::settleStates(const QTextBlock& block,
                                                     wml::colour::LineState in) {
  const int state = block.userState();
  if (state != kUnknown && startOf(state) == in)
    return endOf(state);
  const LineState out = scan(block.text(), in, nullptr);
  QTextBlock(block).setUserState(pack(in, out, 0));
  ++scanned_;
  return out;
}

wml::colour::LineState SyntaxColouring::stateBefore(const QTextBlock& block) {
  const int number = block.blockNumber();
  if (number == 0)
    return wml::colour::LineState::Text;
  if (number - 1 < trustedLines_)
    return endOf(block.previous().userState());
  // Walk down from the trusted edge, scanning states only.
  QTextBlock walk = editor_.document()->findBlockByNumber(trustedLines_);
  wml::colour::LineState in =
      trustedLines_ == 0 ? wml::colour::LineState::Text : endOf(walk.previous().userState());
  for (int left = number - trustedLines_; left > 0 && walk.isValid(); --left) {
    in = settleStates(walk, in);
    walk = walk.next();
    ++trustedLines_;
  }
  return in;
}

bool SyntaxColouring::formatLine(QTextBlock& block, wml::colour::LineState in) {
  const QString text = block.text();
  QList<QPair<wml::colour::ColourSpan, int>> spans;
  LineState out;
  // New formats make the toolkit lay the line out again: not worth it for a
  // line so long that laying it out is what costs.
  out = scan(text, in, text.size() > kMaxColouredLength ? nullptr : &spans);
  QList<QTextLayout::FormatRange> ranges;
  ranges.reserve(spans.size());
  const bool colourPlain =
      plainFormat_.hasProperty(QTextFormat::ForegroundBrush) && text.size() <= kMaxColouredLength;
  int plainFrom = 0;
  const auto plainUpTo = [&](int end) {
    if (colourPlain && end > plainFrom)
      ranges.append({plainFrom, end - plainFrom, plainFormat_});
  };
  for (const auto& [span, kind] : spans) {
    plainUpTo(span.start);
    ranges.append(
        {span.start, span.length,
         language_ == Language::Wml ? formats_[size_t(kind)] : scriptFormats_[size_t(kind)]});
    plainFrom = span.start + span.length;
  }
  plainUpTo(int(text.size()));
  block.setUserState(pack(in, out, round_));
  ++formatted_;
  return setRanges(block, std::move(ranges));
}

bool SyntaxColouring::setRanges(const QTextBlock& block, QList<QTextLayout::FormatRange> ranges) {
  if (overlay_)
    overlay_(block, &ranges);
  // Setting formats drops the line's layout: only when they change.
  QTextLayout* layout = block.layout();
  if (ranges == layout->formats())
    return false;
  layout->setFormats(ranges);
  return true;
}

void SyntaxColouring::formatShownLines() {
  if (formatting_)
    return;
  formatting_ = true;
  QWidget* viewport = editor_.viewport();
  QTextBlock first = editor_.cursorForPosition(QPoint(0, 0)).block();
  QTextBlock last = editor_.cursorForPosition(QPoint(0, viewport->height() - 1)).block();
  // Half a screen more on each side, so that a scroll by a few lines
  // finds its lines ready.
  const int margin = (last.blockNumber() - first.blockNumber() + 1) / 2;
  for (int i = 0; i < margin && first.previous().isValid(); ++i)
    first = first.previous();
  for (int i = 0; i < margin && last.next().isValid(); ++i)
    last = last.next();

  const int lastNumber = last.blockNumber();
  int dirtyFrom = -1, dirtyTo = -1;
  const auto changed = [&](const QTextBlock& block) {
    if (dirtyFrom < 0)
      dirtyFrom = block.position();
    dirtyTo = block.position() + block.length() - 1;
  };
  if (enabled_) {
    wml::colour::LineState in = stateBefore(first);
    for (QTextBlock block = first; block.isValid() && block.blockNumber() <= lastNumber;
         block = block.next()) {
      const int state = block.userState();
      if ((state == kUnknown || startOf(state) != in || roundOf(state) != round_) &&
          formatLine(block, in))
        changed(block);
      in = endOf(block.userState());
      if (block.blockNumber() == trustedLines_)
        ++trustedLines_;
    }
  } else {
    // Plain text but for the overlay; the states wait until colouring is back.
    for (QTextBlock block = first; block.isValid() && block.blockNumber() <= lastNumber;
         block = block.next())
      if (setRanges(block, {}))
        changed(block);
  }
  // New formats leave the document marked as changed there, and the toolkit
  // would report that stretch with the next edit as if it had been typed;
  // telling the layout now settles it without any change signal.
  if (dirtyFrom >= 0)
    editor_.document()->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
  formatting_ = false;
}

} // namespace tessera
