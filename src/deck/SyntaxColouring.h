#pragma once

#include "wml/colour/SourceColouring.h"
#include "wml/script/ScriptColouring.h"

#include <QColor>
#include <QObject>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextLayout>

#include <array>
#include <functional>

class QPlainTextEdit;

namespace tessera {

// Colours the WML source of an editor as the text layouts' formats, like a
// syntax highlighter, but only for the lines on screen (and a few around
// them): a freshly loaded 50 MB deck costs nothing until it is shown.
//
// Each line keeps, in its block's user state, the state it starts and ends
// in and the colouring round its formats belong to. The lines above
// `trustedLines_` have states known to follow from the line before; below
// it they may be stale and are checked (scanning only states, no formats)
// when a line under them is shown. An edit that leaves its last line's end
// state as it was leaves everything below trusted.
class SyntaxColouring : public QObject {
  Q_OBJECT
public:
  explicit SyntaxColouring(QPlainTextEdit& editor);

  void setEnabled(bool on);
  bool isEnabled() const { return enabled_; }

  // What the text is written in: a WML deck, or a WMLScript unit (the
  // document's file name decides). A change colours every line anew.
  enum class Language { Wml, Script };
  void setLanguage(Language language);
  Language language() const { return language_; }

  // Extra formats laid over the colours of a line (the error marks): called
  // for every line being formatted; appends ranges relative to the line.
  using Overlay = std::function<void(const QTextBlock&, QList<QTextLayout::FormatRange>*)>;
  void setOverlay(Overlay overlay) { overlay_ = std::move(overlay); }
  // Formats the shown lines again (marks changed, colours changed).
  void refresh();

  // How many lines got formats since the count was last reset (for tests
  // and the benchmark: loading must not format the whole document).
  int formattedLineCount() const { return formatted_; }
  // How many lines were scanned for their states alone, off screen.
  int scannedLineCount() const { return scanned_; }
  void resetCounts() { formatted_ = scanned_ = 0; }
  // Lines longer than this stay plain (their states still carry on).
  static constexpr int kMaxColouredLength = 10000;

  // The colour of a kind on the current background.
  QColor colourOf(wml::colour::SourceKind kind) const;
  QColor colourOf(wml::script::ScriptKind kind) const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void onContentsChange(int from, int removed, int added);
  void formatShownLines();
  wml::colour::LineState stateBefore(const QTextBlock& block);
  wml::colour::LineState settleStates(const QTextBlock& block, wml::colour::LineState in);
  // Returns whether the line's formats were set (and its layout dropped).
  bool formatLine(QTextBlock& block, wml::colour::LineState in);
  // Lays the overlay over `ranges` and gives them to the line if they differ
  // from what it has; returns whether they did.
  bool setRanges(const QTextBlock& block, QList<QTextLayout::FormatRange> ranges);
  void pickColours();
  void nextRound();

  QPlainTextEdit& editor_;
  QObject* viewport_;
  bool enabled_ = true;
  int trustedLines_ = 0;
  int blockCount_ = 1;
  int round_ = 1; // formats of another round are out of date
  int formatted_ = 0;
  int scanned_ = 0;
  bool formatting_ = false;
  Overlay overlay_;
  // One line's states (and its coloured stretches as WML's kinds' indexes
  // into formats_ or the script's into scriptFormats_) in the language.
  wml::colour::LineState scan(QStringView text, wml::colour::LineState in,
                              QList<QPair<wml::colour::ColourSpan, int>>* spans) const;

  Language language_ = Language::Wml;
  std::array<QTextCharFormat, 9> formats_;
  std::array<QTextCharFormat, 6> scriptFormats_;
  QTextCharFormat plainFormat_; // empty unless the text's own colour would not read
};

} // namespace tessera
