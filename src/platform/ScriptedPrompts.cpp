#include "platform/ScriptedPrompts.h"

namespace tessera {

template <typename T> bool ScriptedPrompts::take(T& out) {
  if (answers_.isEmpty() || !std::holds_alternative<T>(answers_.first()))
    return false;
  out = std::get<T>(answers_.takeFirst());
  return true;
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
  QMessageBox::StandardButton answer = QMessageBox::NoButton;
  if (!take(answer)) {
    a.unexpected = true;
    // Behave like Escape: the most cautious button offered.
    answer = buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
             : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                   : QMessageBox::Ok;
  }
  asked.append(a);
  return answer;
}

int ScriptedPrompts::choose(QWidget*, QMessageBox::Icon icon, const QString& caption,
                            const QString& text, const QStringList& buttons) {
  Asked a;
  a.kind = Asked::Choice;
  a.icon = icon;
  a.caption = caption;
  a.text = text;
  a.choices = buttons;
  int answer = int(buttons.size()) - 1; // like Escape
  a.unexpected = !take(answer);
  asked.append(a);
  return answer;
}

QString ScriptedPrompts::openFileName(QWidget*, const FileDialogRequest& request) {
  Asked a;
  a.kind = Asked::OpenFile;
  a.file = request;
  QString name;
  a.unexpected = !take(name);
  asked.append(a);
  return name;
}

QString ScriptedPrompts::saveFileName(QWidget*, const FileDialogRequest& request) {
  Asked a;
  a.kind = Asked::SaveFile;
  a.file = request;
  QString name;
  a.unexpected = !take(name);
  asked.append(a);
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
  QColor color;
  a.unexpected = !take(color);
  asked.append(a);
  return color;
}

bool ScriptedPrompts::anyUnexpected() const {
  for (const Asked& a : asked)
    if (a.unexpected)
      return true;
  return false;
}

} // namespace tessera
