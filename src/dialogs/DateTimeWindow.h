#pragma once

#include "dialogs/DialogSupport.h"

#include <QDateTime>
#include <QLocale>
#include <functional>

class QListWidget;

namespace tessera {

class EditorView;

// The Date and Time window: a list of ready renderings of the current date
// and time; the chosen one goes into the editor as plain text. The list is
// rebuilt from the clock at each opening, keeping the chosen row.
class DateTimeWindow : public ElementDialog {
  Q_OBJECT
public:
  using Clock = std::function<QDateTime()>;

  DateTimeWindow(EditorView& editor, QWidget* mainWindow);

  // Tests set a fixed clock and locale; the program uses the system's.
  void setClock(Clock clock) { clock_ = std::move(clock); }
  void setRenderingLocale(const QLocale& locale) { locale_ = locale; }

  QListWidget* list() const { return list_; }
  // Rebuilds the renderings from the clock; the chosen row stays chosen.
  void refresh();

  // Refreshes, then shows the window modally.
  int exec() override;

public slots:
  void insertChosen(); // BitBtn1Click and ListBox1DblClick
  void cancel();       // BitBtn2Click

private:
  EditorView& editor_;
  QListWidget* list_ = nullptr;
  Clock clock_ = [] { return QDateTime::currentDateTime(); };
  QLocale locale_ = QLocale::system();
};

} // namespace tessera
