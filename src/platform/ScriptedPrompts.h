#pragma once

#include "platform/Prompts.h"

#include <QList>
#include <variant>

namespace tessera {

// Answers queued by a test, questions recorded for it to check. A question
// with no queued answer is recorded as unexpected and cancelled, so a
// test never blocks.
class ScriptedPrompts : public Prompts {
public:
  struct Asked {
    enum Kind { Message, Choice, OpenFile, SaveFile, Folder, Color } kind = Message;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption{};
    QString text{};
    QMessageBox::StandardButtons buttons{};
    QStringList choices{}; // the buttons of a Choice
    FileDialogRequest file{};
    bool unexpected = false;
  };

  void answerButton(QMessageBox::StandardButton button) { answers_.append(button); }
  void answerChoice(int index) { answers_.append(index); }
  void answerFile(const QString& name) { answers_.append(name); }   // "" = cancel
  void answerColor(const QColor& color) { answers_.append(color); } // invalid = cancel

  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                      const QString& caption, const QString& text,
                                      QMessageBox::StandardButtons buttons) override;
  int choose(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
             const QStringList& buttons) override;
  QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
  // Answered by answerFile too.
  QString folderName(QWidget* parent, const QString& title) override;
  QColor chooseColor(QWidget* parent, const QColor& initial) override;
  void beep() override { ++beeps; }

  QList<Asked> asked;
  int beeps = 0;
  int pendingAnswers() const { return int(answers_.size()); }
  bool anyUnexpected() const;
  void clear() {
    asked.clear();
    answers_.clear();
    beeps = 0;
  }

private:
  using Answer = std::variant<QMessageBox::StandardButton, int, QString, QColor>;
  template <typename T> bool take(T& out);
  // Records the question; the next queued answer of its type, else
  // `otherwise` with the question marked unexpected.
  template <typename T> T answer(Asked question, T otherwise);
  QList<Answer> answers_;
};

} // namespace tessera
