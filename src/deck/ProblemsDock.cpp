#include "deck/ProblemsDock.h"

#include "deck/ProblemsList.h"

#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>

namespace tessera {

ProblemsDock::ProblemsDock(QWidget* parent) : QDockWidget(QStringLiteral("Problems"), parent) {
  setObjectName(QStringLiteral("ProblemsDock"));
  setAllowedAreas(Qt::BottomDockWidgetArea);
  setFeatures(QDockWidget::DockWidgetClosable);
  hide();
}

ProblemsList* ProblemsDock::list() {
  if (!list_) {
    auto* holder = new QWidget(this);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    summary_ = new QLabel(holder);
    summary_->setObjectName(QStringLiteral("ProblemsSummary"));
    summary_->setContentsMargins(4, 2, 4, 0);
    summary_->hide();
    list_ = new ProblemsList(holder);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    connect(list_, &ProblemsList::problemChosen, this, &ProblemsDock::problemChosen);
    connect(list_, &ProblemsList::fileProblemChosen, this, &ProblemsDock::fileProblemChosen);
    setWidget(holder);
  }
  return list_;
}

void ProblemsDock::showSummary(const QString& text) {
  list();
  summary_->setText(text);
  summary_->setVisible(!text.isEmpty());
}

QString ProblemsDock::summary() const { return summary_ ? summary_->text() : QString(); }

void ProblemsDock::setVisible(bool visible) {
  if (visible)
    list();
  QDockWidget::setVisible(visible);
  if (visible && !shownBefore_) {
    shownBefore_ = true;
    if (auto* window = qobject_cast<QMainWindow*>(parentWidget()))
      window->resizeDocks({this}, {std::max(120, window->height() / 4)}, Qt::Vertical);
  }
}

} // namespace tessera
