#pragma once

#include "deck/WbmpConversion.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QLabel;
class QRadioButton;
class QSlider;

namespace tessera {

class Prompts;
class EditorView;

// "Convert Image to WBMP": the one-bit result of a picture at 1:1 and 2:1,
// with a choice of dithering and a threshold; saves the .wbmp beside the
// deck and offers to insert an <img> for it at the caret.
class WbmpWindow : public QDialog {
  Q_OBJECT
public:
  WbmpWindow(EditorView& editor, Prompts& prompts, std::function<QString()> documentPath,
             QWidget* parent = nullptr);

  // Shows `picture` (read from `path`) converted with the current choices.
  void setPicture(const QImage& picture, const QString& path);

  Dithering dithering() const;
  int threshold() const;
  const QImage& result() const { return oneBit_; }
  QByteArray wbmp() const { return wbmpBytes(oneBit_); }

  // Asks for the file name (proposed beside the deck), writes the WBMP and
  // offers the <img> insertion. False when cancelled or failed.
  bool save();

private:
  void convert();
  QString proposedName() const;

  EditorView& editor_;
  Prompts& prompts_;
  std::function<QString()> documentPath_;
  QImage picture_;
  QString picturePath_;
  QImage oneBit_;
  QLabel* actualSize_;
  QLabel* doubleSize_;
  QLabel* bytes_;
  QRadioButton* threshold_;
  QRadioButton* ordered_;
  QRadioButton* diffusion_;
  QSlider* level_;
  QLabel* levelText_;
};

} // namespace tessera
