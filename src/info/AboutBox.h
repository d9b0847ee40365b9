#pragma once

#include <QDialog>
#include <QHash>
#include <QSet>

class QLabel;

namespace tessera {

class Shell;

// The About box: the program's name, version, year and credits, and two
// links (web site, mail) that underline while the pointer is over them.
class AboutBox : public QDialog {
  Q_OBJECT
public:
  enum class Highlight { None, Web, Mail };

  explicit AboutBox(Shell& shell, QWidget* parent = nullptr);

  Highlight highlight() const { return highlight_; }
  void setHighlight(Highlight highlight);

  static constexpr QSize kClientSize{233, 325};

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry);
  QLabel* makeLink(QWidget* parent, const QString& name, const QString& text, QPoint at,
                   bool underlined);

  Shell& shell_;
  Highlight highlight_ = Highlight::None;
  QLabel* webPlain_ = nullptr;
  QLabel* webHighlighted_ = nullptr;
  QLabel* mailPlain_ = nullptr;
  QLabel* mailHighlighted_ = nullptr;
  // What a pointer movement over each watched element does.
  QHash<QObject*, Highlight> moveRules_;
  QSet<QObject*> keepers_;
};

} // namespace tessera
