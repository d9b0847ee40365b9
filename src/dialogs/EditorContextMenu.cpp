#include "dialogs/EditorContextMenu.h"

#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/InlineBuilders.h"

#include <QKeyEvent>

namespace tessera {

namespace {

// Not every icon theme names the link and image pictures; a near one does.
QIcon themeIcon(const char* name, const char* fallback = nullptr) {
  QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
  if (icon.isNull() && fallback)
    icon = QIcon::fromTheme(QString::fromLatin1(fallback));
  return icon;
}

} // namespace

bool isLinkSafe(const QString& selected) {
  for (QChar c : selected)
    if (c == QLatin1Char('\r') || c == QLatin1Char('"') || c == QLatin1Char('<') ||
        c == QLatin1Char('>'))
      return false;
  return true;
}

EditorContextMenu::EditorContextMenu(SourceEditor& editor, const EditMenuActions& mainActions,
                                     std::function<void()> createLink,
                                     std::function<void()> insertImage, QWidget* parent)
    : QMenu(parent), editor_(editor) {
  setObjectName(QStringLiteral("PopupMenu1"));
  // The Edit items are the main window's own commands, focus rules and all.
  const auto runs = [](QAction& command) { return [&command] { command.trigger(); }; };
  const auto aligns = [this](Align align) {
    return [this, align] { editor_.apply(alignParagraph(align, editor_.selectedText())); };
  };

  undo_ = addItem(this, "Undo1", QStringLiteral("Undo"), themeIcon("edit-undo"),
                  runs(mainActions.undo));
  addSeparator();
  QAction* cut =
      addItem(this, "Cut1", QStringLiteral("Cut"), themeIcon("edit-cut"), runs(mainActions.cut));
  QAction* copy = addItem(this, "Copy1", QStringLiteral("Copy"), themeIcon("edit-copy"),
                          runs(mainActions.copy));
  addItem(this, "Paste1", QStringLiteral("Paste"), themeIcon("edit-paste"),
          runs(mainActions.paste));
  QAction* remove = addItem(this, "Delete1", QStringLiteral("Delete"), themeIcon("edit-delete"),
                            runs(mainActions.deleteSelection));
  addSeparator();
  createLink_ = addItem(this, "CreateLink1", QStringLiteral("Create Link..."),
                        themeIcon("insert-link", "text-html"), std::move(createLink));
  insertImage_ = addItem(this, "InsertImage1", QStringLiteral("Insert Image..."),
                         themeIcon("insert-image", "image-x-generic"), std::move(insertImage));
  addSeparator();
  formatting_ = addMenu(QStringLiteral("Formatting"));
  formatting_->setObjectName(QStringLiteral("Formatting1Menu"));
  formatting_->menuAction()->setObjectName(QStringLiteral("Formatting1"));
  formatting_->setIcon(themeIcon("format-text-bold"));
  selectionItems_ = {
      cut,
      copy,
      remove,
      addItem(formatting_, "AlignLeft1", QStringLiteral("Align Left"),
              themeIcon("format-justify-left"), aligns(Align::Left)),
      addItem(formatting_, "AlignCenter1", QStringLiteral("Align Center"),
              themeIcon("format-justify-center"), aligns(Align::Center)),
      addItem(formatting_, "AlignRight1", QStringLiteral("Align Right"),
              themeIcon("format-justify-right"), aligns(Align::Right)),
  };
  addSeparator();
  addItem(this, "SelectAll1", QStringLiteral("Select All"), themeIcon("edit-select-all"),
          runs(mainActions.selectAll));

  connect(this, &QMenu::aboutToShow, this, &EditorContextMenu::updateEnabled);
  editor_.installEventFilter(this);
}

// Shift+F10 asks for the context menu from the keyboard, as the Menu key
// does; it opens at the caret.
bool EditorContextMenu::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &editor_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      popupAtEditor(editor_.cursorRect().bottomLeft());
      return true;
    }
  }
  return QMenu::eventFilter(watched, event);
}

QAction* EditorContextMenu::addItem(QMenu* menu, const char* name, const QString& caption,
                                    const QIcon& icon, std::function<void()> run) {
  QAction* action = menu->addAction(icon, caption);
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
  return action;
}

QAction* EditorContextMenu::item(const QString& name) const {
  if (name == QLatin1String("Formatting1"))
    return formatting_->menuAction();
  return findChild<QAction*>(name);
}

void EditorContextMenu::updateEnabled() {
  undo_->setEnabled(editor_.textDocument().canUndoStep());
  // The selection's length tells whether anything is selected without
  // copying a selection that may be the whole document.
  const bool selected = editor_.selectionLength() > 0;
  for (QAction* item : std::as_const(selectionItems_))
    item->setEnabled(selected);
  insertImage_->setEnabled(!selected);
  createLink_->setEnabled(selected && isLinkSafe(editor_.selectedText()));
}

void EditorContextMenu::popupAtEditor(const QPoint& viewportPos) {
  popup(editor_.viewport()->mapToGlobal(viewportPos));
}

} // namespace tessera
