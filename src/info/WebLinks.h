#pragma once

#include <QString>
#include <QUrl>

namespace tessera {

class Shell;

// The product's web site and contact mail, opened through the desktop.
QUrl productWebUrl();
QUrl productMailUrl(); // "mailto:" and the address
// The web address as the links show it: without its scheme.
QString productWebCaption();

// Hands the address to the desktop's default browser or mail program and
// does not wait; a desktop without one reports nothing.
void openProductWebSite(Shell& shell);
void openProductMail(Shell& shell);

} // namespace tessera
