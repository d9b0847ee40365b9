#include "dialogs/ToolsWindow.h"

#include "dialogs/DialogSupport.h"
#include "dialogs/EdgeSnap.h"
#include "editor/EditorView.h"
#include "info/StHint.h"
#include "platform/Hint.h"
#include "platform/PlainButton.h"
#include "tools/CharacterButtons.h"
#include "tools/InlineBuilders.h"
#include "tools/ToolWidgets.h"

#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace tessera {

namespace {

constexpr int kButtonSpacing = 2;

} // namespace

ToolsWindow::ToolsWindow(EditorView& editor, QWidget* mainWindow)
    : QWidget(mainWindow,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      editor_(editor) {
  setObjectName(QStringLiteral("TForm9"));
  setWindowTitle(QStringLiteral("Tools"));
  // Showing the palette must not take the keyboard from the main window.
  setAttribute(Qt::WA_ShowWithoutActivating);
  // Its own hint component; every balloon still takes its look from the main window's.
  TStHint::createForWindow(this, QStringLiteral("StHint1"), btCtl3D);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setSpacing(kButtonSpacing);
  QPushButton* brake = addButton("BitBtn1", QString(), QString::fromLatin1(kLineBreakHint), 0, 0, 3,
                                 [this] { editor_.apply(lineBreak()); });
  brake->setIcon(toolui::glyph(toolui::Glyph::BrakeLine));
  QPushButton* omit = addButton("BitBtn2", QString(), QString::fromLatin1(kLineOmissionHint), 0, 3,
                                3, [this] { editor_.apply(lineOmission()); });
  omit->setIcon(toolui::glyph(toolui::Glyph::LineOmission));

  // The panel's most used characters, three a row, as the panel has them.
  const char* const rows[][3] = {
      {"Button6", "Button13", "Button14"},
      {"BitBtn4", "Button19", "Button20"},
      {"Button18", "Button21", "Button22"},
  };
  for (int r = 0; r < 3; ++r) {
    for (int column = 0; column < 3; ++column) {
      const CharacterButton* c = characterButton(rows[r][column]);
      QPushButton* b = addButton(
          c->name, QString::fromLatin1(c->caption), QString::fromLatin1(c->hint), r + 1, 2 * column,
          2, [this, c] { editor_.apply(c->insertion(editor_.selectedText())); });
      c->dress(b);
      if (b->text().isEmpty())
        continue;
      // The single captions read at a larger size; the thin entity characters bold too.
      QFont font = b->font();
      font.setPointSize(11);
      if (std::holds_alternative<Entity>(c->puts))
        font.setBold(true);
      b->setFont(font);
    }
  }
  grid->setSizeConstraint(QLayout::SetFixedSize);

  setOpacity(kStartOpacity);
}

QPushButton* ToolsWindow::addButton(const char* name, const QString& caption, const QString& hint,
                                    int row, int column, int span, std::function<void()> run) {
  QPushButton* b = plainButton(caption, QString::fromLatin1(name), this);
  // The palette never keeps the focus: the editor has it while tools run.
  b->setFocusPolicy(Qt::NoFocus);
  // Two wide buttons fill the row that three narrow ones fill; the width
  // leaves the window's small caption bar room for its title.
  constexpr int narrow = 46;
  constexpr int wide = (3 * narrow + 2 * kButtonSpacing - kButtonSpacing) / 2;
  b->setFixedSize(span == 3 ? wide : narrow, 26);
  setHint(b, hint);
  connect(b, &QPushButton::clicked, this, [this, run = std::move(run)] {
    focusEditor();
    run();
  });
  static_cast<QGridLayout*>(layout())->addWidget(b, row, column, 1, span);
  return b;
}

QAbstractButton* ToolsWindow::button(const QString& name) const {
  return findChild<QAbstractButton*>(name);
}

void ToolsWindow::setOpacity(int opacity) {
  opacity = qBound(0, opacity, 255);
  if (opacity == opacity_)
    return;
  opacity_ = opacity;
  setWindowOpacity(opacity / 255.0);
}

void ToolsWindow::focusEditor() {
  if (!editor_.editorHasFocus())
    editor_.focusEditor();
}

bool ToolsWindow::event(QEvent* event) {
  // Hints show in the main window's status line as well as in the bubble.
  if (event->type() == QEvent::StatusTip && parentWidget()) {
    QCoreApplication::sendEvent(parentWidget()->window(), event);
    return true;
  }
  return QWidget::event(event);
}

void ToolsWindow::present() {
  QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  // At start-up the main window may not be active yet; it is about to be.
  const QWidget* active = QApplication::activeWindow();
  const bool mainWasActive = main && main->isVisible() && (!active || active == main);
  if (!placed_) {
    // First showing: beside the editor, at the right edge of the work area,
    // where it covers the least of the text.
    placed_ = true;
    if (const QScreen* s = main ? main->screen() : screen()) {
      const QRect area = s->availableGeometry();
      adjustSize();
      move(area.right() - frameGeometry().width() - 20, area.top() + 150);
    }
  }
  show();
  raise();
  // Some platforms activate every window that shows (later, through their
  // event queue); the user keeps working in the main window all the same.
  if (mainWasActive)
    main->activateWindow();
}

void ToolsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous())
    emit visibilityChanged(true);
}

// Only a real hiding counts: minimising the main window takes the palette
// along without the user hiding it.
void ToolsWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  clearStatusHint(parentWidget());
  if (!event->spontaneous())
    emit visibilityChanged(false);
}

void ToolsWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (snapDistance_ <= 0 || snapping_ || !isVisible() || !screen())
    return;
  const QRect frame = frameGeometry();
  const QPoint snapped = snappedTopLeft(frame, screen()->availableGeometry(), snapDistance_);
  if (snapped != frame.topLeft()) {
    snapping_ = true;
    move(snapped);
    snapping_ = false;
  }
}

} // namespace tessera
