#pragma once

#include "editor/FileEncoding.h"
#include "editor/TextFormat.h"

#include <QObject>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;

namespace tessera {

// The File menu's "Reopen with Encoding" and "Save with Encoding" submenus:
// the offered encodings, the current one checked, and in the second the
// line-break style of the next saves.
class EncodingMenus : public QObject {
  Q_OBJECT
public:
  explicit EncodingMenus(QWidget* parent);

  QMenu* reopenMenu() const { return reopen_; }
  QMenu* saveMenu() const { return save_; }

  // What the user chose; the checks follow what showFormat() is told next.
  std::function<void(const FileEncoding&)> reopenAs;
  std::function<void(const FileEncoding&)> saveAs;
  std::function<void(LineBreakStyle)> breakLinesWith;

  // Checks the document's encoding (nothing when it is not offered) and
  // line-break style; reopening needs a file to read.
  void showFormat(const FileEncoding& encoding, LineBreakStyle breaks, bool hasFile);

private:
  QMenu* makeEncodingMenu(const QString& title, const QString& name, QActionGroup* group,
                          const QString& itemPrefix);

  QMenu* reopen_;
  QMenu* save_;
  QActionGroup* reopenGroup_;
  QActionGroup* saveGroup_;
  QAction* crLf_;
  QAction* lf_;
};

// "UTF-8 · CR LF", for the status line.
QString fileFormatText(const FileEncoding& encoding, LineBreakStyle breaks);

} // namespace tessera
