#include "editing/EditorKeys.h"

#include "editor/SourceEditor.h"
#include "tools/InlineBuilders.h"

#include <QKeyEvent>

namespace tessera {

namespace {
constexpr Qt::KeyboardModifiers kChordModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

Qt::KeyboardModifiers chordOf(const QKeyEvent* event) {
  return event->modifiers() & kChordModifiers;
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }
} // namespace

EditorKeys::EditorKeys(SourceEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
  editor_.installEventFilter(this);
}

bool EditorKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &editor_ && event->type() == QEvent::KeyPress)
    return keyPress(static_cast<QKeyEvent*>(event));
  return false;
}

bool EditorKeys::keyPress(QKeyEvent* event) {
  editor_.refreshStatus();
  const Qt::KeyboardModifiers chord = chordOf(event);
  const int key = event->key();

  if (isEnter(key) && chord == Qt::ShiftModifier) {
    editor_.apply(lineBreak());
    // Then the Enter itself, as a plain one: a real line break, typed.
    editor_.insertPlainText(QStringLiteral("\n"));
    editor_.ensureCursorVisible();
    return true;
  }
  if (key == Qt::Key_Space && chord == Qt::ControlModifier) {
    editor_.insertAtCaret(QStringLiteral("&nbsp;"));
    editor_.insertPlainText(QStringLiteral(" "));
    editor_.ensureCursorVisible();
    return true;
  }
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
      (chord == Qt::NoModifier || chord == Qt::ShiftModifier)) {
    editor_.insertAtCaret(QString(8, QLatin1Char(' ')));
    return true;
  }
  const bool control = chord.testFlag(Qt::ControlModifier) && !chord.testFlag(Qt::AltModifier);
  if (!control && event->text() == QLatin1String("<")) {
    editor_.insertAtCaret(QStringLiteral("<>"));
    editor_.moveCaretBack(1);
    return true;
  }
  return false;
}

} // namespace tessera
