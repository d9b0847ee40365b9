#pragma once

#include <QObject>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessera {

class Prompts;
class EditorView;

// The "Card" tab and its "Other settings" panel (`Panel1`), which lies
// over the top edge of the source editor, right under the tools panel,
// while the "Other settings" check box is checked.
class CardTool : public QObject {
  Q_OBJECT
public:
  // `host` holds the settings panel (the window's client area); `anchor`
  // is the widget it lies under (the tools panel).
  CardTool(QWidget* page, QWidget* host, QWidget* anchor, EditorView* editor, Prompts& prompts);

  QFrame* settingsPanel() const { return panel_; }

  // Unchecks "Other settings", which closes the panel (a tab change does this).
  void closeSettings();
  void reset();

  void insertCard();             // Button9
  void insertCardWithSettings(); // Button8

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildTab(QWidget* page);
  void buildPanel();
  void onOtherSettingsToggled(bool checked); // CheckBox1's click handling
  void onUseTimerToggled(bool checked);      // CheckBox3's click handling
  void placePanel();

  EditorView* editor_;
  Prompts& prompts_;
  QWidget* host_;
  QWidget* anchor_;
  QLineEdit* cardId_ = nullptr;        // Edit5
  QLineEdit* title_ = nullptr;         // Edit6
  QCheckBox* otherSettings_ = nullptr; // CheckBox1
  QPushButton* tabOk_ = nullptr;       // Button9
  QFrame* panel_ = nullptr;            // Panel1
  QCheckBox* clearHistory_ = nullptr;  // CheckBox2
  QCheckBox* useTimer_ = nullptr;      // CheckBox3
  QLineEdit* waitingTime_ = nullptr;   // Edit13
  QLineEdit* timerUrl_ = nullptr;      // Edit14
  QPushButton* panelOk_ = nullptr;     // Button8
};

} // namespace tessera
