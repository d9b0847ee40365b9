#include "info/AboutBox.h"

#include "info/ProgramPicture.h"
#include "info/WebLinks.h"
#include "platform/Product.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace tessera {

namespace {

QFrame* separatorLine(QWidget* parent, const QString& name, int y) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(10, y, 197, 2);
  return line;
}

} // namespace

AboutBox::AboutBox(Shell& shell, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      shell_(shell) {
  setObjectName(QStringLiteral("TForm3"));
  setWindowTitle(QStringLiteral("About ") + kProgramTitle);
  QFont windowFont(QStringLiteral("MS Sans Serif"), 8);
  windowFont.setStyleHint(QFont::SansSerif);
  setFont(windowFont);
  setFixedSize(kClientSize);
  setMouseTracking(true);

  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("GroupBox1"));
  frame->setGeometry(8, 4, 217, 280);
  frame->setMouseTracking(true);

  auto* picture = new ProgramPicture(frame);
  picture->move(12, 14);
  picture->setMouseTracking(true);

  QFont titleFont = windowFont;
  titleFont.setPointSize(10); // the name fits the frame even with a wider substitute font
  titleFont.setBold(true);
  QLabel* name =
      makeLabel(frame, QStringLiteral("Label1"), kProgramVersionText, QRect(52, 12, 162, 20));
  name->setFont(titleFont);
  QLabel* year =
      makeLabel(frame, QStringLiteral("Label2"), QStringLiteral("2006"), QRect(52, 32, 80, 20));
  year->setFont(titleFont);

  QFrame* upperLine = separatorLine(frame, QStringLiteral("Bevel1"), 60);
  QLabel* credits = makeLabel(frame, QStringLiteral("Label3"),
                              QStringLiteral("Programming:\n"
                                             "    The %1 developers\n"
                                             "\n"
                                             "Testing:\n"
                                             "    The %1 developers")
                                  .arg(kProgramName),
                              QRect(14, 68, 190, 120));
  credits->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFrame* lowerLine = separatorLine(frame, QStringLiteral("Bevel2"), 196);

  QLabel* web =
      makeLabel(frame, QStringLiteral("Label4"), QStringLiteral("Web: "), QRect(14, 212, 40, 16));
  QLabel* mail = makeLabel(frame, QStringLiteral("Label6"), QStringLiteral(" E-mail:"),
                           QRect(11, 236, 43, 16));
  QFrame* bottomLine = separatorLine(frame, QStringLiteral("Bevel3"), 262);

  const QPoint webAt(54, 212);
  const QPoint mailAt(54, 236);
  webPlain_ = makeLink(frame, QStringLiteral("Label10"), productWebCaption(), webAt, false);
  webHighlighted_ = makeLink(frame, QStringLiteral("Label12"), productWebCaption(), webAt, true);
  mailPlain_ = makeLink(frame, QStringLiteral("Label11"), kProductMailAddress, mailAt, false);
  mailHighlighted_ = makeLink(frame, QStringLiteral("Label13"), kProductMailAddress, mailAt, true);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setGeometry(79, 292, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  for (QObject* clearing :
       std::initializer_list<QObject*>{this, frame, picture, name, year, web, mail})
    moveRules_.insert(clearing, Highlight::None);
  moveRules_.insert(webPlain_, Highlight::Web);
  moveRules_.insert(webHighlighted_, Highlight::Web);
  moveRules_.insert(mailPlain_, Highlight::Mail);
  moveRules_.insert(mailHighlighted_, Highlight::Mail);
  // Moving over the credits, the lines or the button leaves the highlight as
  // it is; they take the movement so that the frame below does not see it.
  for (QWidget* keeping :
       std::initializer_list<QWidget*>{credits, upperLine, lowerLine, bottomLine, ok}) {
    keeping->setMouseTracking(true);
    keepers_.insert(keeping);
    keeping->installEventFilter(this);
  }
  for (QObject* watched : moveRules_.keys())
    watched->installEventFilter(this);
  setHighlight(Highlight::None);
}

QLabel* AboutBox::makeLabel(QWidget* parent, const QString& name, const QString& text,
                            QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(geometry);
  label->setMouseTracking(true);
  return label;
}

QLabel* AboutBox::makeLink(QWidget* parent, const QString& name, const QString& text, QPoint at,
                           bool underlined) {
  QLabel* link = makeLabel(parent, name, text, QRect(at, QSize(150, 16)));
  QPalette palette = link->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  link->setPalette(palette);
  QFont font = link->font();
  font.setUnderline(underlined);
  link->setFont(font);
  link->adjustSize();
  link->setCursor(Qt::PointingHandCursor);
  return link;
}

void AboutBox::setHighlight(Highlight highlight) {
  highlight_ = highlight;
  // Exactly one label of each pair shows.
  webHighlighted_->setVisible(highlight == Highlight::Web);
  webPlain_->setVisible(highlight != Highlight::Web);
  mailHighlighted_->setVisible(highlight == Highlight::Mail);
  mailPlain_->setVisible(highlight != Highlight::Mail);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove && keepers_.contains(watched))
    return true;
  const auto rule = moveRules_.constFind(watched);
  if (rule == moveRules_.cend())
    return false;
  switch (event->type()) {
  case QEvent::MouseMove:
    if (highlight_ != *rule)
      setHighlight(*rule);
    return true; // the frame below must not clear what a link just set
  case QEvent::MouseButtonRelease: {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    if (mouse->button() != Qt::LeftButton || !widget->rect().contains(mouse->position().toPoint()))
      return false;
    if (*rule == Highlight::Web)
      openProductWebSite(shell_);
    else if (*rule == Highlight::Mail)
      openProductMail(shell_);
    return false;
  }
  default: return false;
  }
}

void AboutBox::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  QDialog::showEvent(event);
}

void AboutBox::hideEvent(QHideEvent* event) {
  // The next opening starts plain.
  setHighlight(Highlight::None);
  QDialog::hideEvent(event);
}

} // namespace tessera
