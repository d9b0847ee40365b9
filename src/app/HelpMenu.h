#pragma once

#include <QObject>

namespace tessera {

class AboutBox;
class MainWindow;

// The Help menu: the product's web site and contact mail, and the About box,
// which is created once, hidden, and shown modally by its command.
class HelpMenu : public QObject {
  Q_OBJECT
public:
  explicit HelpMenu(MainWindow& window);

private:
  AboutBox* aboutBox_ = nullptr;
};

} // namespace tessera
