#pragma once

#include <QLabel>

namespace tessera {

// The status-line panel with the compiled size of the deck ("WBXML 1204 B"),
// red while it is over the chosen budget, blank while the deck is not
// well-formed.
class CompiledSizePanel : public QLabel {
  Q_OBJECT
public:
  explicit CompiledSizePanel(QWidget* parent = nullptr);

  static QString
  sizeText(int size, const QString& format = QStringLiteral("WBXML")); // "" for a negative size

  // The compiled size in bytes; negative: not well-formed.
  void showSize(int size);
  // What the size is of: "WBXML" for a deck, "WMLSC" for a script.
  void setFormat(const QString& format);
  // 0: no budget.
  void setBudget(int budget);
  int size() const { return size_; }
  bool overBudget() const { return budget_ > 0 && size_ > budget_; }

private:
  void refresh();
  int size_ = -1;
  QString format_ = QStringLiteral("WBXML");
  int budget_ = 0;
};

} // namespace tessera
