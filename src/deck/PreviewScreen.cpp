#include "deck/PreviewScreen.h"

#include "deck/CompiledDeckReader.h"

#include "wml/agent/PhoneScreens.h"
#include "wml/agent/WmlForms.h"
#include "wml/script/LocalScriptHost.h"
#include "wml/xml/XmlNodes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStringDecoder>

namespace tessera {

namespace {

class SteadyClock : public wml::agent::AgentClock {
public:
  SteadyClock() { started.start(); }
  qint64 nowTenths() const override { return started.elapsed() / 100; }

private:
  QElapsedTimer started;
};

constexpr int kScale = 2;

// A deck file beside the document: UTF-8 when it decodes as such, else
// Latin-1, which keeps every byte; a compiled deck is decoded the way File >
// Open does, in a child process.
std::optional<QString> readDeckFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (path.endsWith(QLatin1String(".wmlc"), Qt::CaseInsensitive)) {
    const auto converted = CompiledDeckReader()(path, bytes);
    if (!converted.recognised || !converted.error.isEmpty())
      return std::nullopt;
    return converted.text;
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError())
    text = QString::fromLatin1(bytes);
  return text;
}

} // namespace

PreviewScreen::PreviewScreen(QWidget* parent)
    : QWidget(parent), clock(std::make_unique<SteadyClock>()),
      userAgent(std::make_unique<wml::agent::UserAgent>(*clock, readDeckFile)) {
  setObjectName(QStringLiteral("PreviewScreen"));
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  ticker.setInterval(100);
  connect(&ticker, &QTimer::timeout, this, [this] {
    if (userAgent->checkTimer())
      changed();
  });
  // A called script runs on this thread between events, a slice at a time:
  // it reads and sets the browser's variables and waits for dialogs, which
  // a worker thread could do only through locks and a blocking hand-over.
  userAgent->setScriptLoader([this](const QString& path) { return loadUnit(path); });
  scriptSlices.setInterval(0);
  connect(&scriptSlices, &QTimer::timeout, this, [this] {
    userAgent->continueScript();
    if (!userAgent->scriptRunning()) {
      focus = -1;
      scroll = 0;
      changed();
    }
  });
}

// The edited unit's own text when it is the one called; a compiled unit is
// first read in a child process (as a compiled deck is), so a hostile file
// cannot bring the editor down, then loaded and verified.
wml::script::LoadedUnit PreviewScreen::loadUnit(const QString& path) const {
  if (!editedScriptPath.isEmpty() && QFileInfo(path) == QFileInfo(editedScriptPath))
    return wml::script::loadScriptBytes(editedScriptText.toUtf8(), true);
  if (path.endsWith(QLatin1String(".wmlsc"), Qt::CaseInsensitive))
    return readCompiledUnit(path);
  return wml::script::loadScriptFile(path);
}

void PreviewScreen::setEditedScript(const QString& path, const QString& text) {
  editedScriptPath = path;
  editedScriptText = text;
}

bool PreviewScreen::promptShown() const {
  return overlay == Overlay::None && userAgent->promptWaiting();
}

void PreviewScreen::answerPrompt(const QString& text) {
  userAgent->answerPrompt(text);
  changed();
}

void PreviewScreen::answerConfirm(bool ok) {
  userAgent->answerConfirm(ok);
  changed();
}

void PreviewScreen::dismissAlert() {
  userAgent->dismissAlert();
  changed();
}

PreviewScreen::~PreviewScreen() = default;

QSize PreviewScreen::sizeHint() const {
  return phoneProfiles()[size_t(profileIndex)].size * kScale;
}

void PreviewScreen::setProfile(int index) {
  if (index < 0 || index >= int(phoneProfiles().size()) || index == profileIndex)
    return;
  profileIndex = index;
  updateGeometry();
  changed();
}

void PreviewScreen::setDocumentPath(const QString& path) {
  documentPath = path;
  images.clear();
}

void PreviewScreen::openDocument(std::shared_ptr<const wml::agent::DeckDocument> parsed,
                                 const QString& path, const QString& cardId) {
  overlay = Overlay::None;
  setDocumentPath(path);
  userAgent->openDeck(std::move(parsed), path, cardId);
  focus = -1;
  changed();
}

void PreviewScreen::showDocument(std::shared_ptr<const wml::agent::DeckDocument> parsed,
                                 const QString& cardId) {
  overlay = Overlay::None;
  userAgent->updateDeck(std::move(parsed), cardId);
  changed();
}

void PreviewScreen::showCard(const QString& cardId) {
  overlay = Overlay::None;
  userAgent->showCard(cardId);
  focus = -1;
  scroll = 0;
  changed();
}

wml::agent::Screen PreviewScreen::shownScreen() const {
  if (overlay == Overlay::Edit) {
    const QString shown =
        userAgent->inputIsPassword(overlayName) ? QString(editText.size(), u'*') : editText;
    return wml::agent::inputEditScreen(overlayTitle(), shown, userAgent->inputRule(overlayName),
                                       refusal);
  }
  if (overlay == Overlay::List)
    return wml::agent::listScreen(overlayTitle(), userAgent->optionLabels(overlayName),
                                  userAgent->chosenOptions(overlayName),
                                  userAgent->isMultiple(overlayName));
  return userAgent->currentScreen();
}

QString PreviewScreen::renderedText() const { return wml::agent::screenText(shownScreen()); }

QString PreviewScreen::overlayTitle() const {
  const QString title = userAgent->controlTitle(overlayName);
  return title.isEmpty() ? overlayName : title;
}

void PreviewScreen::changed() {
  cachedLayout.reset();
  const auto& targets = layout().focusTargets();
  if (focus >= int(targets.size()))
    focus = targets.empty() ? -1 : 0;
  if (focus < 0 && !targets.empty() && overlay == Overlay::None)
    focus = 0;
  if (overlay == Overlay::List)
    focus = listCursor;
  if (userAgent->timerRemaining() >= 0)
    ticker.start();
  else
    ticker.stop();
  if (userAgent->scriptRunning())
    scriptSlices.start();
  else
    scriptSlices.stop();
  update();
  emit screenChanged();
}

const PhoneLayout& PreviewScreen::layout() const {
  if (!cachedLayout)
    cachedLayout =
        std::make_unique<PhoneLayout>(shownScreen(), phoneProfiles()[size_t(profileIndex)],
                                      [this](const QString& source) { return imageFor(source); });
  return *cachedLayout;
}

QImage PreviewScreen::imageFor(const QString& source) const {
  if (source.isEmpty() || source.contains(u':'))
    return {}; // only pictures beside the document are shown
  const QString base = QFileInfo(documentPath).absolutePath();
  const QString path = QDir::cleanPath(QDir(base).filePath(source));
  if (documentPath.isEmpty())
    return {};
  if (auto found = images.find(path); found != images.end())
    return found.value();
  QImageReader reader(path);
  QImage image = reader.read();
  images.insert(path, image);
  return image;
}

void PreviewScreen::paintEvent(QPaintEvent*) {
  const PhoneProfile& phone = phoneProfiles()[size_t(profileIndex)];
  QImage display(phone.size, QImage::Format_RGB32);
  {
    QPainter painter(&display);
    layout().paint(painter, scroll, focus);
  }
  QPainter painter(this);
  painter.drawImage(QRect(QPoint(0, 0), phone.size * kScale), display);
}

void PreviewScreen::moveFocus(int step) {
  const PhoneLayout& shown = layout();
  const auto& targets = shown.focusTargets();
  const int view = shown.viewHeight();
  if (!targets.empty()) {
    const int next = std::clamp(focus + step, 0, int(targets.size()) - 1);
    const QRect rect = targets[size_t(next)].rect;
    // Scroll a row at a time towards a target out of view before moving to it.
    if (rect.top() < scroll || rect.bottom() >= scroll + view) {
      const int row = QFontMetrics(font()).height();
      scroll = step > 0 ? std::min(rect.top(), scroll + row) : std::max(rect.top(), scroll - row);
      if (rect.top() >= scroll && rect.bottom() < scroll + view)
        focus = next;
    } else {
      focus = next;
    }
    if (overlay == Overlay::List)
      listCursor = focus;
  } else {
    scroll += step * QFontMetrics(font()).height();
  }
  scroll = std::clamp(scroll, 0, std::max(0, shown.bodyHeight() - view));
  update();
}

void PreviewScreen::keyPressEvent(QKeyEvent* event) {
  if (promptShown()) {
    // A script's prompt takes the typing, as the phone's entry does.
    const QString text = userAgent->promptText();
    if (event->key() == Qt::Key_Backspace) {
      userAgent->setPromptText(text.left(text.size() - 1));
      changed();
      return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      pressSoftKey(1);
      return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
      userAgent->setPromptText(text + event->text());
      changed();
      return;
    }
  }
  switch (event->key()) {
  case Qt::Key_Up:
  case Qt::Key_Left: moveFocus(-1); return;
  case Qt::Key_Down:
  case Qt::Key_Right: moveFocus(1); return;
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Select: activateFocus(); return;
  case Qt::Key_F1: pressSoftKey(1); return;
  case Qt::Key_F2: pressSoftKey(2); return;
  case Qt::Key_Escape: back(); return;
  default: break;
  }
  if (overlay == Overlay::Edit) {
    if (event->key() == Qt::Key_Backspace) {
      editText.chop(1);
      refusal.clear();
      changed();
      return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
      for (QChar typed : event->text())
        typeInEdit(typed);
      return;
    }
  } else if (event->key() == Qt::Key_Backspace) {
    back(); // as a phone's clear key does outside an entry
    return;
  }
  QWidget::keyPressEvent(event);
}

// One character into the phone's entry: taken, or refused with the reason
// under the field, as the phone's own entry does while the person types.
void PreviewScreen::typeInEdit(QChar typed) {
  refusal = userAgent->typedRefusal(overlayName, editText, typed);
  if (refusal.isEmpty())
    editText += typed;
  changed();
}

QRect PreviewScreen::targetArea(int index) const {
  const QRect display = layout().targetOnDisplay(index, scroll);
  return QRect(display.topLeft() * kScale, display.size() * kScale);
}

void PreviewScreen::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  const QPoint device = event->position().toPoint() / kScale;
  if (const int key = layout().softKeyAt(device)) {
    pressSoftKey(key);
    return;
  }
  const int hit = layout().targetAt(device, scroll);
  if (hit < 0)
    return;
  focus = hit;
  if (overlay == Overlay::List)
    listCursor = hit;
  activateFocus();
}

void PreviewScreen::activateFocus() {
  if (overlay == Overlay::Edit) {
    commitEdit();
    return;
  }
  if (overlay == Overlay::List) {
    pick(overlayName, listCursor);
    return;
  }
  const auto& targets = layout().focusTargets();
  if (focus < 0 || focus >= int(targets.size()))
    return;
  const FocusTarget target = targets[size_t(focus)];
  switch (target.kind) {
  case FocusTarget::Kind::Link:
  case FocusTarget::Kind::Row: followLink(target.index); return;
  case FocusTarget::Kind::Input: openInput(controlName("input", target.index)); return;
  case FocusTarget::Kind::Select: openList(controlName("select", target.index)); return;
  }
}

QString PreviewScreen::controlName(const char* element, int index) const {
  const wml::agent::CardLayout& card = userAgent->layout();
  const auto& controls = qstrcmp(element, "input") == 0 ? card.inputs : card.selects;
  if (index < 0 || index >= int(controls.size()))
    return {};
  const QString name = wml::xml::attribute(controls[size_t(index)], "name");
  return name.isEmpty() ? wml::xml::attribute(controls[size_t(index)], "iname") : name;
}

void PreviewScreen::openInput(const QString& name) {
  if (userAgent->currentScreen().kind != wml::agent::Screen::Kind::Card ||
      !userAgent->hasInput(name))
    return;
  overlay = Overlay::Edit;
  overlayName = name;
  editText = userAgent->variables().value(name);
  refusal.clear();
  changed();
}

void PreviewScreen::openList(const QString& name) {
  if (userAgent->currentScreen().kind != wml::agent::Screen::Kind::Card ||
      userAgent->optionLabels(name).isEmpty())
    return;
  overlay = Overlay::List;
  overlayName = name;
  const std::vector<int> chosen = userAgent->chosenOptions(name);
  listCursor = chosen.empty() ? 0 : chosen.front();
  scroll = 0;
  changed();
}

void PreviewScreen::commitEdit() {
  if (userAgent->setInput(overlayName, editText)) {
    closeOverlay();
    return;
  }
  refusal = userAgent->lastMessage();
  changed();
}

void PreviewScreen::closeOverlay() {
  overlay = Overlay::None;
  refusal.clear();
  scroll = 0;
  changed();
}

void PreviewScreen::followLink(int n) {
  if (overlay == Overlay::List) {
    listCursor = n;
    pick(overlayName, n);
    return;
  }
  if (overlay != Overlay::None)
    return;
  if (userAgent->followLink(n)) {
    focus = -1;
    scroll = 0;
  }
  changed();
}

void PreviewScreen::pressSoftKey(int n) {
  if (overlay == Overlay::Edit) {
    n == 1 ? commitEdit() : closeOverlay();
    return;
  }
  if (overlay == Overlay::List) {
    n == 1 ? pick(overlayName, listCursor) : closeOverlay();
    return;
  }
  if (userAgent->pressSoftKey(n)) {
    focus = -1;
    scroll = 0;
  }
  changed();
}

void PreviewScreen::back() {
  if (overlay != Overlay::None) {
    closeOverlay();
    return;
  }
  userAgent->back();
  focus = -1;
  scroll = 0;
  changed();
}

bool PreviewScreen::setInput(const QString& name, const QString& value) {
  const bool taken = userAgent->setInput(name, value);
  if (taken && overlay == Overlay::Edit && overlayName == name)
    overlay = Overlay::None;
  changed();
  return taken;
}

void PreviewScreen::pick(const QString& selectName, int option) {
  const bool multiple = userAgent->isMultiple(selectName);
  userAgent->pick(selectName, option);
  // A single choice closes the list; several stay open until Back.
  if (overlay == Overlay::List &&
      (!multiple || userAgent->currentScreen().kind != wml::agent::Screen::Kind::Card))
    overlay = Overlay::None;
  changed();
}

void PreviewScreen::fireTimer() {
  userAgent->fireTimer();
  changed();
}

} // namespace tessera
