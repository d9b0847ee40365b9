#pragma once

#include "app/MainWindow.h"
#include "dialogs/ToolsWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "support/TestServices.h"
#include "tools/ToolsPanel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

// A shown, active main window with a text field on the tools panel, for
// tests that depend on where the keyboard focus is.
struct EditingFixture {
  TestServices services;
  tessera::MainWindow window{services.services()};
  QLineEdit* field = nullptr;

  EditingFixture() {
    auto* panel = window.toolsPanel();
    field = new QLineEdit(panel->page(tessera::ToolsPanel::Link));
    field->setObjectName(QStringLiteral("Edit17"));
    field->setGeometry(4, 4, 200, 22);
    panel->setCurrentIndex(tessera::ToolsPanel::Link);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Start-up ends with the tools window shown beside the main window.
    QTRY_VERIFY(window.findChild<tessera::ToolsWindow*>() &&
                window.findChild<tessera::ToolsWindow*>()->isVisible());
    QTRY_VERIFY(window.isActiveWindow());
  }

  tessera::SourceEditor& editor() { return *window.editor(); }

  void put(const QString& text, int start = 0, int length = 0) {
    editor().textDocument().replaceWholeText(text);
    editor().setSelection(tessera::TextPosition(start), length);
    editor().textDocument().setModified(false);
  }

  void focusEditor() {
    editor().setFocus();
    QTRY_VERIFY(editor().hasFocus());
  }
  void focusField() {
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
  }
  void run(const char* action) { window.action(QString::fromLatin1(action))->trigger(); }

  // A key stroke on whatever has the focus, through the shortcut machinery.
  void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
  }
  void type(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClicks(target, text);
  }
};
