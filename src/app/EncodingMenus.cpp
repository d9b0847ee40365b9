#include "app/EncodingMenus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace tessera {

namespace {

// "UTF-16 LE" → "UTF16LE": object names without blanks or dashes.
QString nameOf(const FileEncoding& encoding) {
  QString name = encoding.displayName();
  name.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
  return name;
}

const QList<FileEncoding>& offered() {
  static const QList<FileEncoding> list = FileEncoding::offered();
  return list;
}

void checkMatching(QActionGroup* group, const FileEncoding& encoding) {
  const QList<QAction*> items = group->actions();
  for (qsizetype i = 0; i < items.size(); ++i)
    items[i]->setChecked(offered()[i].sameCharset(encoding));
}

} // namespace

QString fileFormatText(const FileEncoding& encoding, LineBreakStyle breaks) {
  return encoding.shownName() + QStringLiteral(" · ") +
         (breaks == LineBreakStyle::Lf ? QStringLiteral("LF") : QStringLiteral("CR LF"));
}

EncodingMenus::EncodingMenus(QWidget* parent) : QObject(parent) {
  reopenGroup_ = new QActionGroup(this);
  saveGroup_ = new QActionGroup(this);
  reopen_ =
      makeEncodingMenu(QStringLiteral("Reopen with &Encoding"), QStringLiteral("ReopenEncoding1"),
                       reopenGroup_, QStringLiteral("ReopenAs"));
  save_ = makeEncodingMenu(QStringLiteral("Save with E&ncoding"), QStringLiteral("SaveEncoding1"),
                           saveGroup_, QStringLiteral("SaveAs"));
  save_->addSeparator();
  auto* breaks = new QActionGroup(this);
  crLf_ = save_->addAction(QStringLiteral("Line Breaks CR LF"));
  crLf_->setObjectName(QStringLiteral("LineBreaksCrLf1"));
  lf_ = save_->addAction(QStringLiteral("Line Breaks LF"));
  lf_->setObjectName(QStringLiteral("LineBreaksLf1"));
  for (QAction* item : {crLf_, lf_}) {
    item->setCheckable(true);
    breaks->addAction(item);
  }
  crLf_->setChecked(true);

  const auto forEach = [this](QActionGroup* group, auto& handler) {
    connect(group, &QActionGroup::triggered, this, [this, group, &handler](QAction* item) {
      const FileEncoding chosen = offered().value(group->actions().indexOf(item));
      if (handler)
        handler(chosen);
    });
  };
  forEach(reopenGroup_, reopenAs);
  forEach(saveGroup_, saveAs);
  connect(crLf_, &QAction::triggered, this, [this] {
    if (breakLinesWith)
      breakLinesWith(LineBreakStyle::CrLf);
  });
  connect(lf_, &QAction::triggered, this, [this] {
    if (breakLinesWith)
      breakLinesWith(LineBreakStyle::Lf);
  });
  showFormat(FileEncoding::utf8(), LineBreakStyle::CrLf, false);
}

QMenu* EncodingMenus::makeEncodingMenu(const QString& title, const QString& name,
                                       QActionGroup* group, const QString& itemPrefix) {
  auto* menu = new QMenu(title, qobject_cast<QWidget*>(parent()));
  menu->setObjectName(name);
  // None is checked while the document's encoding is not in the list.
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (const FileEncoding& encoding : offered()) {
    QAction* item = menu->addAction(encoding.displayName());
    item->setObjectName(itemPrefix + nameOf(encoding));
    item->setCheckable(true);
    group->addAction(item);
  }
  return menu;
}

void EncodingMenus::showFormat(const FileEncoding& encoding, LineBreakStyle breaks, bool hasFile) {
  checkMatching(reopenGroup_, encoding);
  checkMatching(saveGroup_, encoding);
  (breaks == LineBreakStyle::Lf ? lf_ : crLf_)->setChecked(true);
  reopen_->setEnabled(hasFile);
}

} // namespace tessera
