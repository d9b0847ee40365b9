#pragma once

#include "wml/Finding.h"

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
  // Where mark `index` stands now, in the widget's positions (end exclusive).
  QPair<int, int> range(int index) const;
  // The message of the mark under a widget position, or an empty text.
  QString messageAt(int position) const;

  static QColor colourOf(wml::Severity severity);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Mark {
    QTextCursor cursor; // anchor at the start, position at the end
    wml::Severity severity;
    QString message;
  };
  void overlay(const QTextBlock& block, QList<QTextLayout::FormatRange>* ranges) const;
  const Mark* markAt(int position) const;
  void pointerAt(QPoint viewportPoint);

  QPlainTextEdit& editor_;
  SyntaxColouring& colouring_;
  QObject* viewport_; // kept: the editor cannot be asked while it is taken down
  std::vector<Mark> marks_;
  QString shownMessage_;
};

// The stretch a finding at (line, column) underlines in `block`: from that
// character over the rest of its word or tag name, at least one character,
// the last character of the line when the column lies past its end.
// Positions within the block; the column counts a character outside the
// Basic Multilingual Plane as one. {-1, -1} for an empty line.
QPair<int, int> markedStretch(const QString& lineText, int column);

} // namespace tessera
