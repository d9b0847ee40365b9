#include "dialogs/ToolsWindow.h"

#include "dialogs/DialogSupport.h"
#include "dialogs/EdgeSnap.h"
#include "editor/EditorView.h"
#include "info/StHint.h"
#include "platform/Hint.h"
#include "tools/InlineBuilders.h"

#include <QApplication>
#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace tessera {

namespace {

constexpr int kButtonSpacing = 2;

// The glyphs of the line-break, line-omission and ampersand buttons.
QIcon lineBreakGlyph(int arrows) {
  QPixmap pixmap(16 * arrows + 4 * (arrows - 1), 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 128), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (int i = 0; i < arrows; ++i) {
    const qreal x = i * 20;
    QPainterPath path;
    path.moveTo(x + 13, 2);
    path.lineTo(x + 13, 10);
    path.lineTo(x + 3, 10);
    p.drawPath(path);
    p.drawLine(QPointF(x + 3, 10), QPointF(x + 7, 6));
    p.drawLine(QPointF(x + 3, 10), QPointF(x + 7, 14));
  }
  return QIcon(pixmap);
}

QIcon ampersandGlyph(const QFont& base) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QFont f = base;
  f.setPixelSize(14);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0, 0, 128));
  p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("&"));
  return QIcon(pixmap);
}

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
  addButton("BitBtn1", QString(), QStringLiteral("Brake line (Shift+Enter)"), 0, 0, 3,
            &ToolsWindow::lineBreakClick);
  addButton("BitBtn2", QString(), QStringLiteral("Line omission"), 0, 3, 3,
            &ToolsWindow::lineOmissionClick);
  addButton("Button6", QStringLiteral("B"), QStringLiteral("Bold (Ctrl+B)"), 1, 0, 2,
            &ToolsWindow::boldClick);
  addButton("Button13", QStringLiteral("I"), QStringLiteral("Italic (Ctrl+I)"), 1, 2, 2,
            &ToolsWindow::italicClick);
  addButton("Button14", QStringLiteral("U"), QStringLiteral("Underline (Ctrl+U)"), 1, 4, 2,
            &ToolsWindow::underlineClick);
  addButton("BitBtn4", QString(), QStringLiteral("Ampersand"), 2, 0, 2,
            &ToolsWindow::ampersandClick);
  addButton("Button19", QStringLiteral("<"), QStringLiteral("Relational sign to the left"), 2, 2, 2,
            &ToolsWindow::lessThanClick);
  addButton("Button20", QStringLiteral(">"), QStringLiteral("Relational sign to the right"), 2, 4,
            2, &ToolsWindow::greaterThanClick);
  addButton("Button18", QStringLiteral("'"), QStringLiteral("Apostrophe"), 3, 0, 2,
            &ToolsWindow::apostropheClick);
  addButton("Button21", QStringLiteral("_"),
            QStringLiteral("Non-Breaking Space - If you want to use more than one space "
                           "successively. (Ctrl+Space)"),
            3, 2, 2, &ToolsWindow::nbspClick);
  addButton("Button22", QStringLiteral("\""), QStringLiteral("Quotation-mark"), 3, 4, 2,
            &ToolsWindow::quoteClick);

  button(QStringLiteral("BitBtn1"))->setIcon(lineBreakGlyph(1));
  button(QStringLiteral("BitBtn2"))->setIcon(lineBreakGlyph(2));
  button(QStringLiteral("BitBtn2"))->setIconSize(QSize(36, 16));
  button(QStringLiteral("BitBtn4"))->setIcon(ampersandGlyph(font()));
  const auto styled = [this](const char* name, auto change) {
    QAbstractButton* b = button(QString::fromLatin1(name));
    QFont f(QStringLiteral("Times New Roman"), 11);
    change(f);
    b->setFont(f);
  };
  styled("Button6", [](QFont& f) { f.setBold(true); });
  styled("Button13", [](QFont& f) { f.setItalic(true); });
  styled("Button14", [](QFont& f) { f.setUnderline(true); });
  // The entity captions are single thin characters: larger, so they read.
  for (const char* name : {"Button19", "Button20", "Button18", "Button21", "Button22"}) {
    QAbstractButton* b = button(QString::fromLatin1(name));
    QFont f = b->font();
    f.setPointSize(11);
    f.setBold(true);
    b->setFont(f);
  }
  grid->setSizeConstraint(QLayout::SetFixedSize);

  setOpacity(kStartOpacity);
}

void ToolsWindow::addButton(const char* name, const QString& caption, const QString& hint, int row,
                            int column, int span, void (ToolsWindow::*run)()) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(QString::fromLatin1(name));
  // The palette never keeps the focus: the editor has it while tools run.
  b->setFocusPolicy(Qt::NoFocus);
  // Two wide buttons fill the row that three narrow ones fill; the width
  // leaves the window's small caption bar room for its title.
  constexpr int narrow = 46;
  constexpr int wide = (3 * narrow + 2 * kButtonSpacing - kButtonSpacing) / 2;
  b->setFixedSize(span == 3 ? wide : narrow, 26);
  setHint(b, hint);
  connect(b, &QPushButton::clicked, this, [this, run] {
    focusEditor();
    (this->*run)();
  });
  static_cast<QGridLayout*>(layout())->addWidget(b, row, column, 1, span);
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

void ToolsWindow::lineBreakClick() { editor_.apply(lineBreak()); }
void ToolsWindow::lineOmissionClick() { editor_.apply(lineOmission()); }
void ToolsWindow::boldClick() { editor_.apply(wrapTool(Wrap::Bold, editor_.selectedText())); }
void ToolsWindow::italicClick() { editor_.apply(wrapTool(Wrap::Italic, editor_.selectedText())); }
void ToolsWindow::underlineClick() {
  editor_.apply(wrapTool(Wrap::Underline, editor_.selectedText()));
}
void ToolsWindow::ampersandClick() { editor_.apply(characterEntity(Entity::Ampersand)); }

// The entity buttons only insert; the editor already has the focus.
void ToolsWindow::lessThanClick() { editor_.insertAtCaret(characterEntity(Entity::LessThan).text); }
void ToolsWindow::greaterThanClick() {
  editor_.insertAtCaret(characterEntity(Entity::GreaterThan).text);
}
void ToolsWindow::apostropheClick() {
  editor_.insertAtCaret(characterEntity(Entity::Apostrophe).text);
}
void ToolsWindow::nbspClick() { editor_.insertAtCaret(characterEntity(Entity::Nbsp).text); }
void ToolsWindow::quoteClick() { editor_.insertAtCaret(characterEntity(Entity::Quote).text); }

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
