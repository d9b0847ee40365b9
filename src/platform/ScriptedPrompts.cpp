#include "platform/ScriptedPrompts.h"

namespace tessera {

template <typename T> bool ScriptedPrompts::take(T& out) {
  if (answers_.isEmpty() || !std::holds_alternative<T>(answers_.first()))
    return false;
  out = std::get<T>(answers_.takeFirst());
  return true;
}

template <typename T> T ScriptedPrompts::answer(Asked question, T otherwise) {
  question.unexpected = !take(otherwise);
  asked.append(question);
  return otherwise;
}

QMessageBox::StandardButton ScriptedPrompts::message(QWidget*, QMessageBox::Icon icon,
                                                     const QString& caption, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
  const Asked a{
      .kind = Asked::Message, .icon = icon, .caption = caption, .text = text, .buttons = buttons};
  // Unscripted, it behaves like Escape: the most cautious button offered.
  return answer(a, buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                   : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                         : QMessageBox::Ok);
}

int ScriptedPrompts::choose(QWidget*, QMessageBox::Icon icon, const QString& caption,
                            const QString& text, const QStringList& buttons) {
  const Asked a{
      .kind = Asked::Choice, .icon = icon, .caption = caption, .text = text, .choices = buttons};
  return answer(a, int(buttons.size()) - 1); // unscripted: like Escape
}

QString ScriptedPrompts::openFileName(QWidget*, const FileDialogRequest& request) {
  return answer(Asked{.kind = Asked::OpenFile, .file = request}, QString());
}

QString ScriptedPrompts::saveFileName(QWidget*, const FileDialogRequest& request) {
  QString name = answer(Asked{.kind = Asked::SaveFile, .file = request}, QString());
  // Like the real dialog: a name typed without extension gets the default one.
  if (!name.isEmpty() && !request.defaultSuffix.isEmpty()) {
    const QString base = name.section(QLatin1Char('/'), -1);
    if (!base.contains(QLatin1Char('.')))
      name += QLatin1Char('.') + request.defaultSuffix;
  }
  return name;
}

QString ScriptedPrompts::folderName(QWidget*, const QString& title) {
  return answer(Asked{.kind = Asked::Folder, .caption = title}, QString());
}

QColor ScriptedPrompts::chooseColor(QWidget*, const QColor&) {
  return answer(Asked{.kind = Asked::Color}, QColor());
}

bool ScriptedPrompts::anyUnexpected() const {
  for (const Asked& a : asked)
    if (a.unexpected)
      return true;
  return false;
}

} // namespace tessera
