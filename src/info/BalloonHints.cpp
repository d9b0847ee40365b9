#include "info/BalloonHints.h"

#include "info/GraphicHintWindow.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>

namespace tessera {

namespace {

BalloonHints* theInstance = nullptr;
// A tool tip opens this far below the pointer's hot spot, under its image.
constexpr int kPointerImageHeight = 20;
// Moving on to the next control while a balloon is up shows its hint quickly.
constexpr int kShortPause = 50;
const char* const kShowHintProperty = "ShowHint";

QRect globalRect(const QWidget* widget, const QRect& local) {
  return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

} // namespace

BalloonHints& BalloonHints::install() {
  if (!theInstance)
    theInstance = new BalloonHints(qApp);
  return *theInstance;
}

BalloonHints* BalloonHints::instance() { return theInstance; }

BalloonHints::BalloonHints(QObject* parent) : QObject(parent) {
  showTimer_.setSingleShot(true);
  hideTimer_.setSingleShot(true);
  connect(&showTimer_, &QTimer::timeout, this, [this] { showHintAt(pointer_); });
  connect(&hideTimer_, &QTimer::timeout, this, [this] {
    // A balloon that timed out does not come back while the pointer rests.
    suppressArea_ = hintArea_;
    hideHint();
  });
  qApp->installEventFilter(this);
}

BalloonHints::~BalloonHints() {
  delete window_;
  if (theInstance == this)
    theInstance = nullptr;
}

void BalloonHints::setHidePause(int milliseconds) { hidePause_ = milliseconds; }

bool BalloonHints::isShowingHint() const { return window_ && window_->isVisible(); }

void BalloonHints::setShowHint(QWidget* widget, bool on) {
  widget->setProperty(kShowHintProperty, on);
  if (!on && theInstance && theInstance->owner_ &&
      (theInstance->owner_ == widget || widget->isAncestorOf(theInstance->owner_)))
    theInstance->hideHint();
}

bool BalloonHints::showsHint(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QVariant on = w->property(kShowHintProperty);
    if (on.isValid() && !on.toBool())
      return false;
    if (w->isWindow())
      break;
  }
  return true;
}

void BalloonHints::hideHint() {
  hideTimer_.stop();
  owner_ = nullptr;
  hintArea_ = QRect();
  if (window_)
    window_->hide();
}

void BalloonHints::showHintAt(QPoint global) {
  showTimer_.stop();
  QWidget* widget = QApplication::widgetAt(global);
  if (!widget || widget == window_) {
    hideHint();
    return;
  }
  QHelpEvent help(QEvent::ToolTip, widget->mapFromGlobal(global), global);
  dispatching_ = true;
  answered_ = false;
  QApplication::sendEvent(widget, &help);
  dispatching_ = false;
  if (!answered_)
    hideHint();
}

bool BalloonHints::answerHelpEvent(QWidget* widget, QHelpEvent* help) {
  if (!showsHint(widget)) {
    hideHint();
    return true;
  }
  QString text;
  QRect area = widget->rect();
  bool plain = false;
  if (const auto source = sources_.constFind(widget); source != sources_.cend()) {
    const PlainHint hint = (*source)(help->pos());
    plain = !hint.text.isEmpty();
    text = plain ? hint.text : widget->toolTip();
    if (plain)
      area = hint.area;
  } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
    const int tab = tabs->tabAt(help->pos());
    if (tab >= 0) {
      text = tabs->tabToolTip(tab);
      area = tabs->tabRect(tab);
    }
  } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
    QAction* action = menu->actionAt(help->pos());
    if (!menu->toolTipsVisible() || !action)
      return true; // menu items show their hints in the status line only
    text = action->toolTip();
    area = menu->actionGeometry(action);
  } else {
    text = widget->toolTip();
  }
  if (text.isEmpty())
    return false; // the parent may have one

  if (!window_)
    window_ = new TGraphicHintWindow;
  const QPoint global = help->globalPos();
  const QScreen* screen = QGuiApplication::screenAt(global);
  if (!screen)
    screen = widget->screen();
  const QPoint proposed(global.x(), global.y() + kPointerImageHeight);
  window_->activateHint(text, proposed, global, screen->geometry(), plain);
  owner_ = widget;
  hintArea_ = globalRect(widget, area);
  suppressArea_ = QRect();
  hideTimer_.start(hidePause_);
  answered_ = true;
  help->accept();
  return true;
}

void BalloonHints::pointerMoved(QPoint global) {
  pointer_ = global;
  if (isShowingHint()) {
    if (owner_ && owner_->isVisible() && hintArea_.contains(global))
      return;
    hideHint();
    showTimer_.start(kShortPause);
    return;
  }
  if (suppressArea_.contains(global))
    return;
  suppressArea_ = QRect();
  showTimer_.start(pause_);
}

void BalloonHints::suppressUnder(QPoint global) {
  showTimer_.stop();
  if (QWidget* widget = QApplication::widgetAt(global))
    suppressArea_ = globalRect(widget, widget->rect());
  hideHint();
}

bool BalloonHints::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
  case QEvent::ToolTip:
    // The toolkit's own tool-tip timing is replaced by ours; only the events
    // sent from showHintAt() are answered.
    if (!dispatching_ || !watched->isWidgetType()) {
      event->accept();
      return true;
    }
    return answerHelpEvent(static_cast<QWidget*>(watched), static_cast<QHelpEvent*>(event));
  case QEvent::MouseMove:
    if (watched->isWidgetType()) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->buttons() == Qt::NoButton)
        pointerMoved(mouse->globalPosition().toPoint());
      else if (showTimer_.isActive() || isShowingHint()) {
        showTimer_.stop();
        hideHint();
      }
    }
    break;
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonDblClick:
    if (watched->isWidgetType())
      suppressUnder(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    break;
  case QEvent::KeyPress:
  case QEvent::Wheel:
    showTimer_.stop();
    if (isShowingHint()) {
      suppressArea_ = hintArea_;
      hideHint();
    }
    break;
  case QEvent::Leave:
    if (watched == owner_ ||
        (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() && !isShowingHint()))
      showTimer_.stop();
    if (watched == owner_)
      hideHint();
    break;
  case QEvent::Hide:
    if (watched == owner_)
      hideHint();
    break;
  case QEvent::ApplicationDeactivate:
    showTimer_.stop();
    hideHint();
    break;
  default: break;
  }
  return false;
}

void BalloonHints::setHintSource(QWidget* widget, HintSource source) {
  if (!sources_.contains(widget))
    connect(widget, &QObject::destroyed, this, [this, widget] { sources_.remove(widget); });
  sources_.insert(widget, std::move(source));
}

} // namespace tessera
