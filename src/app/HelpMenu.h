#pragma once

#include <QObject>

namespace tessera {

class AboutBox;
class MainWindow;

// The Help menu: the product's web site and contact mail, and the About box,
// which is made the first time its command runs, then kept (hidden between
// showings) and shown modally by the command.
class HelpMenu : public QObject {
  Q_OBJECT
public:
  explicit HelpMenu(MainWindow& window);

private:
  void showAboutBox();

  MainWindow& window_;
  AboutBox* aboutBox_ = nullptr;
};

} // namespace tessera
