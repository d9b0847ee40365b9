#pragma once

#include "deck/PhonePainter.h"
#include "wml/agent/PhoneDisplays.h"
#include "wml/agent/UserAgent.h"

#include <QHash>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace tessera {

// The phone's display: shows the user agent's screen at one of the phone
// sizes, drawn at twice the size, and is worked like a phone: the arrow keys
// move between links and fields, Enter follows or edits, F1 and F2 press
// the soft keys, Backspace goes back (or deletes in an entry), a click acts
// on what it hits; an entry with a format refuses a character as it is
// typed, saying why under the field. Its slots and renderedText drive it
// without a mouse, for tests and scripts.
class PreviewScreen : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString renderedText READ renderedText NOTIFY screenChanged)

public:
  explicit PreviewScreen(QWidget* parent = nullptr);
  ~PreviewScreen() override;

  wml::agent::UserAgent& agent() { return *userAgent; }
  QString renderedText() const;
  wml::agent::Screen shownScreen() const;

  void setProfile(int index);
  int profile() const { return profileIndex; }
  // Where relative deck files and images are looked for.
  void setDocumentPath(const QString& path);
  // A fresh start on the document (a new context), at the given card.
  void openDocument(std::shared_ptr<const wml::agent::DeckDocument> parsed, const QString& path,
                    const QString& cardId = {});
  // The document as parsed again after an edit, showing the given card.
  void showDocument(std::shared_ptr<const wml::agent::DeckDocument> parsed, const QString& cardId);
  void showCard(const QString& cardId);
  // The edited document when it is a WMLScript unit: a deck's call of it
  // runs this text, unsaved or not.
  void setEditedScript(const QString& path, const QString& text);

  // Where the link, field or row `index` (in the order the arrow keys go)
  // is drawn on this widget; empty when there is none.
  QRect targetArea(int index) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
  void followLink(int n);
  void pressSoftKey(int n);
  void back();
  bool setInput(const QString& name, const QString& value);
  void pick(const QString& selectName, int option);
  void fireTimer();
  // The phone's own edit and list screens for a card's input or list.
  void openInput(const QString& name);
  void openList(const QString& name);
  // A script's dialogs, as the phone's keys would answer them.
  void answerPrompt(const QString& text);
  void answerConfirm(bool ok);
  void dismissAlert();

signals:
  void screenChanged();

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  enum class Overlay { None, Edit, List };
  void changed();
  void closeOverlay();
  void activateFocus();
  void moveFocus(int step);
  void commitEdit();
  void typeInEdit(QChar typed);
  const PhoneLayout& layout() const;
  QImage imageFor(const QString& source) const;
  QString controlName(const char* element, int index) const;
  QString overlayTitle() const;
  wml::script::LoadedUnit loadUnit(const QString& path) const;
  bool promptShown() const;

  std::unique_ptr<wml::agent::AgentClock> clock;
  std::unique_ptr<wml::agent::UserAgent> userAgent;
  QString documentPath;
  QTimer ticker;
  QTimer scriptSlices; // runs a called script a slice at a time
  QString editedScriptPath;
  QString editedScriptText;
  int profileIndex = wml::agent::kDefaultPhoneDisplay;
  int focus = -1;
  int scroll = 0;

  Overlay overlay = Overlay::None;
  QString overlayName;
  QString editText;
  QString refusal;
  int listCursor = 0;

  mutable std::unique_ptr<PhoneLayout> cachedLayout;
  mutable QHash<QString, QImage> images;
};

} // namespace tessera
