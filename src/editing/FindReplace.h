#pragma once

#include "editor/EditorView.h"

#include <QObject>
#include <QString>

namespace tessera {

class FindDialog;
class Prompts;
class ReplaceDialog;
class EditorView;

// Find, Replace and Replace All on the source editor, behind the find box
// and the replace box.
//
// Find Next scans forward from a remembered start position, which the
// opening of either box puts back to the top and each hit moves to one
// past the hit's start (so overlapping occurrences are all found). It
// never wraps and says nothing when there is no further hit.
//
// Replace takes the first occurrence at or after the caret, else the
// first in the text; Replace All replaces every occurrence in one pass as
// one edit. Both report a search text that the document does not hold.
class FindReplace : public QObject {
  Q_OBJECT
public:
  FindReplace(EditorView& editor, Prompts& prompts, QWidget* dialogParent,
              QObject* parent = nullptr);

  // Each box is made when first needed, then kept.
  FindDialog* findDialog();
  ReplaceDialog* replaceDialog();
  TextPosition findStart() const { return findStart_; }

  // The menu commands.
  void openFind();
  void openReplace();

  // Returns whether something was selected.
  bool findNext(const QString& text);
  // Return whether something was replaced.
  bool replace(const QString& text, const QString& replacement);
  bool replaceAll(const QString& text, const QString& replacement);

private:
  // The editor's text as the widget holds it, kept while the document does
  // not change so that pressing Find Next again costs a search, not a copy.
  const QString& text();
  void keepSelectionVisible();
  void selectRange(QtPosition from, QtPosition to);
  void reportNotFound(const QString& text);

  EditorView& editor_;
  Prompts& prompts_;
  QWidget* dialogParent_;
  FindDialog* findDialog_ = nullptr;
  ReplaceDialog* replaceDialog_ = nullptr;
  TextPosition findStart_;
  QString text_;
  bool textCurrent_ = false;
  bool selectionKeptVisible_ = false;
};

} // namespace tessera
