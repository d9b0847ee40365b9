#include "info/AboutBox.h"
#include "info/ProgramPicture.h"
#include "info/WebLinks.h"
#include "platform/Desktop.h"
#include "platform/Product.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace tessera;
using Highlight = AboutBox::Highlight;

Q_DECLARE_METATYPE(tessera::AboutBox::Highlight)

namespace {

// The label the pointer meets over a link: whichever of its pair shows.
QWidget* target(AboutBox& box, const QString& name) {
  const auto visibleOf = [&box](const char* plain, const char* highlighted) {
    auto* p = box.findChild<QWidget*>(QString::fromLatin1(plain));
    return p->isVisible() ? p : box.findChild<QWidget*>(QString::fromLatin1(highlighted));
  };
  if (name == QLatin1String("web"))
    return visibleOf("Label10", "Label12");
  if (name == QLatin1String("mail"))
    return visibleOf("Label11", "Label13");
  if (name == QLatin1String("TForm3"))
    return &box;
  return box.findChild<QWidget*>(name);
}

void moveOver(AboutBox& box, const QString& name) {
  QWidget* widget = target(box, name);
  QVERIFY2(widget && widget->isVisible(), qPrintable(name));
  // A corner of the frame, the window, ... where no child stands.
  const QPoint at = name == QLatin1String("GroupBox1") || name == QLatin1String("TForm3")
                        ? QPoint(4, widget->height() - 4)
                        : widget->rect().center();
  // From outside the box first: moving to where the pointer already is
  // would send nothing.
  QCursor::setPos(0, 0);
  QTest::mouseMove(widget, at);
}

bool shows(AboutBox& box, const char* name) {
  return box.findChild<QLabel*>(QString::fromLatin1(name))->isVisible();
}

// Receives what the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> urls;
public slots:
  void open(const QUrl& url) { urls << url; }
};

} // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

private slots:
  void window();
  void versionIsTheProjects();
  void highlightTable_data();
  void highlightTable();
  void closingClearsTheHighlight();
  void linkClicks_data();
  void linkClicks();
  void desktopReceivesBothAddresses();
  void pictureIsDrawnTransparently();
};

// The build files and the program state the version once each; a new
// version given to one of them only would ship under two numbers.
void AboutBoxTest::versionIsTheProjects() {
  QCOMPARE(kProgramVersion, QStringLiteral(TESSERA_PROJECT_VERSION));
  RecordingShell shell;
  AboutBox box(shell);
  const QStringList parts = QStringLiteral(TESSERA_PROJECT_VERSION).split(QLatin1Char('.'));
  QVERIFY(box.findChild<QLabel*>("Label1")->text().endsWith(QLatin1Char(' ') + parts.join('.')));
  QVERIFY(box.windowTitle().endsWith(QLatin1Char(' ') + parts.mid(0, 2).join('.')));
}

void AboutBoxTest::window() {
  RecordingShell shell;
  AboutBox box(shell);
  QCOMPARE(box.objectName(), QStringLiteral("TForm3"));
  QCOMPARE(box.windowTitle(), QStringLiteral("About WML Tessera 1.0"));
  QCOMPARE(box.size(), QSize(233, 325));
  QCOMPARE(box.minimumSize(), box.maximumSize());
  QVERIFY(!box.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!box.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  QCOMPARE(box.findChild<QLabel*>("Label1")->text(), QStringLiteral("WML Tessera 1.0.9.9"));
  QVERIFY(box.findChild<QLabel*>("Label1")->font().bold());
  QCOMPARE(box.findChild<QLabel*>("Label2")->text(), QStringLiteral("2006"));
  QCOMPARE(box.findChild<QLabel*>("Label4")->text(), QStringLiteral("Web: "));
  QCOMPARE(box.findChild<QLabel*>("Label6")->text(), QStringLiteral(" E-mail:"));
  QCOMPARE(box.findChild<QPushButton*>("Button1")->text(), QStringLiteral("OK"));
  // The credits name no invented people, only the project itself, and fit
  // between the two lines around them.
  const QLabel* credits = box.findChild<QLabel*>("Label3");
  QCOMPARE(credits->text(), QStringLiteral("Programming:\n"
                                           "    The WML Tessera developers\n"
                                           "\n"
                                           "Testing:\n"
                                           "    The WML Tessera developers"));
  QVERIFY(credits->sizeHint().width() <= credits->width());
  QVERIFY(credits->geometry().top() > box.findChild<QFrame*>("Bevel1")->geometry().bottom());
  QVERIFY(credits->geometry().top() + credits->sizeHint().height() <=
          box.findChild<QFrame*>("Bevel2")->geometry().top());
  for (const char* name : {"Label10", "Label12"})
    QCOMPARE(box.findChild<QLabel*>(name)->text(), productWebCaption());
  for (const char* name : {"Label11", "Label13"})
    QCOMPARE(box.findChild<QLabel*>(name)->text(), kProductMailAddress);
  QVERIFY(!productWebCaption().contains(QLatin1String("://")));
  QVERIFY(kProductWebAddress.endsWith(productWebCaption()));
  for (const char* name : {"Label10", "Label11", "Label12", "Label13"}) {
    const QLabel* link = box.findChild<QLabel*>(name);
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
    const bool highlighted = QByteArray(name) == "Label12" || QByteArray(name) == "Label13";
    QCOMPARE(link->font().underline(), highlighted);
  }
}

void AboutBoxTest::highlightTable_data() {
  QTest::addColumn<QStringList>("path");
  QTest::addColumn<Highlight>("expected");
  QTest::newRow("web link") << QStringList{"web"} << Highlight::Web;
  QTest::newRow("mail link") << QStringList{"mail"} << Highlight::Mail;
  QTest::newRow("web straight onto mail") << QStringList{"web", "mail"} << Highlight::Mail;
  QTest::newRow("mail back onto web") << QStringList{"mail", "web"} << Highlight::Web;
  QTest::newRow("credits keep it") << QStringList{"web", "Label3"} << Highlight::Web;
  QTest::newRow("credits, then the frame clears it")
      << QStringList{"web", "Label3", "GroupBox1"} << Highlight::None;
  QTest::newRow("separator keeps it") << QStringList{"mail", "Bevel2"} << Highlight::Mail;
  QTest::newRow("OK button keeps it") << QStringList{"mail", "Button1"} << Highlight::Mail;
  for (const char* clearing : {"TForm3", "Image1", "Label1", "Label2", "Label4", "Label6"})
    QTest::newRow(clearing) << QStringList{"web", QString::fromLatin1(clearing)} << Highlight::None;
}

void AboutBoxTest::highlightTable() {
  QFETCH(QStringList, path);
  QFETCH(Highlight, expected);
  RecordingShell shell;
  AboutBox box(shell);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  for (const QString& name : path)
    moveOver(box, name);
  QCOMPARE(box.highlight(), expected);
  QCOMPARE(shows(box, "Label10"), expected != Highlight::Web);
  QCOMPARE(shows(box, "Label12"), expected == Highlight::Web);
  QCOMPARE(shows(box, "Label11"), expected != Highlight::Mail);
  QCOMPARE(shows(box, "Label13"), expected == Highlight::Mail);
  QVERIFY(shell.opened.isEmpty());
}

void AboutBoxTest::closingClearsTheHighlight() {
  RecordingShell shell;
  AboutBox box(shell);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  moveOver(box, "mail");
  QCOMPARE(box.highlight(), Highlight::Mail);
  QTest::mouseClick(box.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  QVERIFY(!box.isVisible());
  QCOMPARE(box.highlight(), Highlight::None);
  box.show();
  QVERIFY(shows(box, "Label11"));
  QVERIFY(!shows(box, "Label13"));
  moveOver(box, "web");
  box.close(); // the close box
  QCOMPARE(box.highlight(), Highlight::None);
}

void AboutBoxTest::linkClicks_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("moveFirst");
  QTest::addColumn<QUrl>("opened");
  QTest::newRow("plain web") << "Label10"
                             << "" << productWebUrl();
  QTest::newRow("highlighted web") << "Label12"
                                   << "web" << productWebUrl();
  QTest::newRow("plain mail") << "Label11"
                              << "" << productMailUrl();
  QTest::newRow("highlighted mail") << "Label13"
                                    << "mail" << productMailUrl();
}

void AboutBoxTest::linkClicks() {
  QFETCH(QString, label);
  QFETCH(QString, moveFirst);
  QFETCH(QUrl, opened);
  RecordingShell shell;
  AboutBox box(shell);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  if (!moveFirst.isEmpty())
    moveOver(box, moveFirst);
  QWidget* link = box.findChild<QWidget*>(label);
  QVERIFY(link->isVisible());
  QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
  QCOMPARE(shell.opened, QList<QUrl>{opened});
  QVERIFY(box.isVisible()); // the box stays open
  QCOMPARE(opened.scheme() == QLatin1String("mailto"), label == "Label11" || label == "Label13");
}

void AboutBoxTest::desktopReceivesBothAddresses() {
  UrlCatcher catcher;
  const QString webScheme = productWebUrl().scheme();
  QDesktopServices::setUrlHandler(webScheme, &catcher, "open");
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
  DesktopShell desktop;
  openProductWebSite(desktop);
  openProductMail(desktop);
  QDesktopServices::unsetUrlHandler(webScheme);
  QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  QCOMPARE(catcher.urls.size(), 2);
  QCOMPARE(catcher.urls.at(0), QUrl(kProductWebAddress));
  QCOMPARE(catcher.urls.at(1).toString(), QStringLiteral("mailto:") + kProductMailAddress);
}

void AboutBoxTest::pictureIsDrawnTransparently() {
  const QImage picture = ProgramPicture::image();
  QCOMPARE(picture.size(), QSize(32, 32));
  QCOMPARE(qAlpha(picture.pixel(0, 31)), 0); // a corner shows the background
  QCOMPARE(qAlpha(picture.pixel(16, 16)), 255);
}

QTEST_MAIN(AboutBoxTest)
#include "tst_aboutbox.moc"
