#pragma once

#include "wml/Finding.h"
#include "wml/Positions.h"

#include <QObject>
#include <QTextCursor>
#include <QTextLayout>

#include <vector>

class QPlainTextEdit;

namespace tessera {

class SyntaxColouring;

// The deck checker's findings drawn in the text: a wavy underline under the
// place of each (red for errors, amber for warnings), its message in a plain
// balloon and in the status line while the pointer rests on it. The marks
// hold text cursors, so they move with the text as it is edited until the
// next check replaces them. They are laid over the colouring's formats and
// stay when colouring is switched off.
class ErrorMarks : public QObject {
  Q_OBJECT
public:
  ErrorMarks(QPlainTextEdit& editor, SyntaxColouring& colouring);

  // Replaces the marks; findings beyond the text are left out, and only the
  // first kMaxMarks are drawn (a deck with more has bigger problems).
  void setFindings(const QList<wml::Finding>& findings);
  static constexpr int kMaxMarks = 1000;

  int count() const { return int(marks_.size()); }
  // Where mark `index` stands now (end exclusive).
  QPair<QtPosition, QtPosition> range(int index) const;
  // The message of the mark at `position`, or an empty text.
  QString messageAt(QtPosition position) const;

  static QColor colourOf(wml::Severity severity);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Mark {
    QTextCursor cursor; // anchor at the start, position at the end
    wml::Severity severity;
    QString message;
    QtPosition start() const { return QtPosition(cursor.selectionStart()); }
    QtPosition end() const { return QtPosition(cursor.selectionEnd()); }
  };
  void overlay(const QTextBlock& block, QList<QTextLayout::FormatRange>* ranges) const;
  const Mark* markAt(QtPosition position) const;
  // The position under a point of the viewport: the character the pointer
  // is over, not the gap nearest to it.
  QtPosition positionUnder(QPoint viewportPoint) const;
  void pointerAt(QPoint viewportPoint);

  QPlainTextEdit& editor_;
  SyntaxColouring& colouring_;
  QObject* viewport_; // kept: the editor cannot be asked while it is taken down
  std::vector<Mark> marks_;
  QString shownMessage_;
};

// The stretch a finding at (line, column) underlines in its line: from that
// character over the rest of its word or tag name, at least one character,
// the last character of the line when the column lies past its end. UTF-16
// offsets from the line's start (what its layout and a QString index
// count), not places in the document; the column counts a character outside
// the Basic Multilingual Plane as one. {-1, -1} for an empty line.
QPair<int, int> markedStretch(const QString& lineText, int column);

} // namespace tessera
