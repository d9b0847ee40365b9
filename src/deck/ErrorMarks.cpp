#include "deck/ErrorMarks.h"

#include "deck/SyntaxColouring.h"
#include "info/BalloonHints.h"
#include "wml/Positions.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStatusTipEvent>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tessera {

namespace {

constexpr int kLongestMark = 200;

bool isWordChar(QChar c) {
  return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u':' || c == u'.' || c == u'$' ||
         c == u'#' || c == u'&' || c == u';' || c == u'(' || c == u')';
}

} // namespace

QPair<int, int> markedStretch(const QString& text, int column) {
  const int size = int(text.size());
  if (size == 0)
    return {-1, -1};
  int start = utf16OffsetOfColumn(text, column);
  if (start >= size)
    start = text.at(size - 1).isLowSurrogate() && size >= 2 ? size - 2 : size - 1;
  int end = start;
  const int limit = std::min(size, start + kLongestMark);
  if (text.at(start) == u'<') {
    end = start + 1;
    if (end < limit && text.at(end) == u'/')
      ++end;
    while (end < limit && isWordChar(text.at(end)) && text.at(end) != u'&')
      ++end;
  } else {
    while (end < limit && isWordChar(text.at(end)))
      ++end;
  }
  if (end == start)
    end = start + (text.at(start).isHighSurrogate() && start + 1 < size ? 2 : 1);
  return {start, end};
}

ErrorMarks::ErrorMarks(QPlainTextEdit& editor, SyntaxColouring& colouring)
    : QObject(&editor), editor_(editor), colouring_(colouring), viewport_(editor.viewport()) {
  colouring_.setOverlay([this](const QTextBlock& block, QList<QTextLayout::FormatRange>* ranges) {
    overlay(block, ranges);
  });
  QWidget* viewport = editor.viewport();
  viewport->setMouseTracking(true);
  viewport->installEventFilter(this);
  BalloonHints::install().setHintSource(viewport, [this](QPoint point) {
    BalloonHints::PlainHint hint;
    if (const Mark* mark = markAt(positionUnder(point))) {
      hint.text = mark->message;
      QTextCursor start(editor_.document());
      start.setPosition(mark->start().value);
      QTextCursor end(editor_.document());
      end.setPosition(mark->end().value);
      hint.area = editor_.cursorRect(start).united(editor_.cursorRect(end));
    }
    return hint;
  });
}

QColor ErrorMarks::colourOf(wml::Severity severity) {
  return severity == wml::Severity::Error ? QColor(0xe0, 0x10, 0x10) : QColor(0xe0, 0x90, 0x00);
}

void ErrorMarks::setFindings(const QList<wml::Finding>& findings) {
  marks_.clear();
  QTextDocument* document = editor_.document();
  QTextBlock block;
  QString text; // the text of `block`, read once for all its findings
  for (const wml::Finding& finding : findings) {
    if (int(marks_.size()) == kMaxMarks)
      break;
    if (!block.isValid() || block.blockNumber() != finding.start.line - 1) {
      block = document->findBlockByNumber(finding.start.line - 1);
      if (!block.isValid())
        continue;
      text = block.text();
    }
    auto [start, end] = markedStretch(text, finding.start.column);
    if (start < 0)
      continue;
    // A finding that knows its stretch is underlined just there (to the
    // line's end when it runs on); the others by the word they start at.
    if (finding.hasEnd())
      end = finding.end.line > finding.start.line
                ? int(text.size())
                : std::max(start + 1, utf16OffsetOfColumn(text, finding.end.column));
    const QtPosition lineStart(block.position());
    QTextCursor cursor(document);
    cursor.setPosition((lineStart + start).value);
    cursor.setPosition((lineStart + end).value, QTextCursor::KeepAnchor);
    marks_.push_back({cursor, finding.severity, finding.message});
  }
  std::stable_sort(marks_.begin(), marks_.end(),
                   [](const Mark& a, const Mark& b) { return a.start() < b.start(); });
  colouring_.refresh();
  // The status line said what the mark under the pointer was about; that
  // mark is gone (another document, another check), so say it again for
  // what is there now, or nothing.
  if (shownMessage_.isEmpty())
    return;
  if (editor_.viewport()->underMouse()) {
    pointerAt(editor_.viewport()->mapFromGlobal(QCursor::pos()));
    return;
  }
  shownMessage_.clear();
  QStatusTipEvent tip{QString()};
  QCoreApplication::sendEvent(editor_.viewport(), &tip);
}

QPair<QtPosition, QtPosition> ErrorMarks::range(int index) const {
  const Mark& mark = marks_.at(size_t(index));
  return {mark.start(), mark.end()};
}

const ErrorMarks::Mark* ErrorMarks::markAt(QtPosition position) const {
  for (const Mark& mark : marks_) {
    if (mark.start() > position)
      break;
    if (position < mark.end())
      return &mark;
  }
  return nullptr;
}

QtPosition ErrorMarks::positionUnder(QPoint viewportPoint) const {
  const QTextCursor hit = editor_.cursorForPosition(viewportPoint);
  const QtPosition position(hit.position());
  return viewportPoint.x() < editor_.cursorRect(hit).left() ? position - 1 : position;
}

QString ErrorMarks::messageAt(QtPosition position) const {
  const Mark* mark = markAt(position);
  return mark ? mark->message : QString();
}

void ErrorMarks::overlay(const QTextBlock& block, QList<QTextLayout::FormatRange>* ranges) const {
  if (marks_.empty())
    return;
  const QtPosition from(block.position());
  const QtPosition to = from + (block.length() - 1);
  // Marks stay in order as the text is edited: find the first that may reach
  // into this line, looking back one for a mark a typed break has split.
  auto it = std::lower_bound(marks_.begin(), marks_.end(), from,
                             [](const Mark& mark, QtPosition at) { return mark.start() < at; });
  if (it != marks_.begin())
    --it;
  for (; it != marks_.end() && it->start() < to; ++it) {
    const QtPosition start = std::max(from, it->start());
    const QtPosition end = std::min(to, it->end());
    if (end <= start)
      continue;
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(colourOf(it->severity));
    ranges->append({start - from, end - start, format});
  }
}

bool ErrorMarks::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewport_ && event->type() == QEvent::MouseMove) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->buttons() == Qt::NoButton)
      pointerAt(mouse->position().toPoint());
  }
  return false;
}

// The status line shows the message of the mark under the pointer, and
// forgets it once the pointer leaves the mark.
void ErrorMarks::pointerAt(QPoint viewportPoint) {
  const QString message = messageAt(positionUnder(viewportPoint));
  if (message == shownMessage_)
    return;
  shownMessage_ = message;
  QStatusTipEvent tip(message);
  QCoreApplication::sendEvent(editor_.viewport(), &tip);
}

} // namespace tessera
