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
  Asked a;
  a.kind = Asked::Message;
  a.icon = icon;
  a.caption = caption;
  a.text = text;
  a.buttons = buttons;
  // Unscripted, it behaves like Escape: the most cautious button offered.
  return answer(a, buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                   : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                         : QMessageBox::Ok);
}

int ScriptedPrompts::choose(QWidget*, QMessageBox::Icon icon, const QString& caption,
                            const QString& text, const QStringList& buttons) {
  Asked a;
  a.kind = Asked::Choice;
  a.icon = icon;
  a.caption = caption;
  a.text = text;
  a.choices = buttons;
  return answer(a, int(buttons.size()) - 1); // unscripted: like Escape
}

QString ScriptedPrompts::openFileName(QWidget*, const FileDialogRequest& request) {
  Asked a;
  a.kind = Asked::OpenFile;
  a.file = request;
  return answer(a, QString());
}

QString ScriptedPrompts::saveFileName(QWidget*, const FileDialogRequest& request) {
  Asked a;
  a.kind = Asked::SaveFile;
  a.file = request;
  QString name = answer(a, QString());
  // Like the real dialog: a name typed without extension gets the default one.
  if (!name.isEmpty() && !request.defaultSuffix.isEmpty()) {
    const QString base = name.section(QLatin1Char('/'), -1);
    if (!base.contains(QLatin1Char('.')))
      name += QLatin1Char('.') + request.defaultSuffix;
  }
  return name;
}

QColor ScriptedPrompts::chooseColor(QWidget*, const QColor&) {
  Asked a;
  a.kind = Asked::Color;
  return answer(a, QColor());
}

bool ScriptedPrompts::anyUnexpected() const {
  for (const Asked& a : asked)
    if (a.unexpected)
      return true;
  return false;
}

} // namespace tessera
