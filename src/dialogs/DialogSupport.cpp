#include "dialogs/DialogSupport.h"

#include "dialogs/ElementBuilders.h"
#include "editor/EditorView.h"
#include "platform/PlainButton.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>

namespace tessera {

ElementDialog::ElementDialog(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setModal(true);
}

bool ElementDialog::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip && parentWidget()) {
    QCoreApplication::sendEvent(parentWidget()->window(), event);
    return true;
  }
  return QDialog::event(event);
}

void ElementDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QScreen* screen =
      parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen)
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void ElementDialog::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  clearStatusHint(parentWidget());
}

QPushButton* dialogButton(const QString& text, const char* name, QStyle::StandardPixmap icon,
                          QWidget* parent) {
  QPushButton* button = plainButton(text, QString::fromLatin1(name), parent);
  button->setIcon(parent->style()->standardIcon(icon));
  return button;
}

void setStatusHint(QWidget* widget, const QString& hint) { widget->setStatusTip(hint); }

void clearStatusHint(QWidget* mainWindow) {
  if (!mainWindow)
    return;
  QStatusTipEvent clear{QString()};
  QCoreApplication::sendEvent(mainWindow->window(), &clear);
}

SwitchLabel::SwitchLabel(const QString& text, const QColor& color, QWidget* parent)
    : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

void SwitchLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  QLabel::mouseReleaseEvent(event);
}

namespace {

class SelectAllFilter : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) {
      if (auto* field = qobject_cast<QLineEdit*>(watched)) {
        field->selectAll();
        return true;
      }
    }
    return false;
  }
};

} // namespace

void selectWholeFieldOnDoubleClick(QLineEdit* field) {
  field->installEventFilter(new SelectAllFilter(field));
}

void rememberUrl(QComboBox* box, const QString& url) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items << box->itemText(i);
  if (historyHolds(items, url))
    return;
  // Adding the first item would make it the current text; keep what shows.
  const QString shown = box->currentText();
  box->addItem(url);
  box->setEditText(shown);
}

void insertFromDialog(EditorView& editor, const Insertion& insertion) {
  editor.insertAtCaret(insertion.text);
  if (insertion.caretBack > 0)
    editor.moveCaretBack(insertion.caretBack);
  if (insertion.rerunChange)
    editor.runChangeHandling();
  editor.takeFocus();
}

} // namespace tessera
