#include "deck/ServeWindow.h"

#include "deck/DeckService.h"
#include "editor/TextDocument.h"
#include "serve/HttpServer.h"
#include "serve/RequestLog.h"
#include "serve/Site.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace tessera {
namespace {

// A pause in typing this long sends the text to the server: the same pause
// as checking while typing, so that both take the one copy of the text the
// document model holds for that revision.
constexpr int kSnapshotPauseMs = DeckService::kPauseMs;

QString hostPart(const QHostAddress& address) {
  return address.protocol() == QAbstractSocket::IPv6Protocol
             ? QStringLiteral("[%1]").arg(address.toString())
             : address.toString();
}

// The charset the editor's text is sent in: the document's, when it writes
// ASCII as ASCII (a phone of the time reads nothing else), else UTF-8.
QByteArray servedCharset(const FileEncoding& encoding) {
  return encoding.asciiCompatible() ? encoding.declarationName().toLower() : QByteArray("utf-8");
}

} // namespace

ServeWindow::ServeWindow(TextDocument& document, QWidget* parent)
    : QDialog(parent), document_(document), log_(std::make_unique<serve::RequestLog>()),
      address_(new QComboBox), port_(new QSpinBox), unsaved_(new QCheckBox), url_(new QLabel),
      state_(new QLabel), start_(new QPushButton(QStringLiteral("&Start"))),
      stop_(new QPushButton(QStringLiteral("S&top"))), logView_(new QTableView) {
  setObjectName(QStringLiteral("ServeWindow"));
  setWindowTitle(QStringLiteral("Serve to Phone"));
  address_->setObjectName(QStringLiteral("ServeAddress"));
  port_->setObjectName(QStringLiteral("ServePort"));
  unsaved_->setObjectName(QStringLiteral("ServeUnsaved"));
  url_->setObjectName(QStringLiteral("ServeUrl"));
  state_->setObjectName(QStringLiteral("ServeState"));
  start_->setObjectName(QStringLiteral("ServeStart"));
  stop_->setObjectName(QStringLiteral("ServeStop"));
  logView_->setObjectName(QStringLiteral("ServeLog"));

  fillAddresses();
  port_->setRange(1, 65535);
  port_->setValue(8080);
  unsaved_->setText(QStringLiteral("Serve the editor's &unsaved text for this deck"));
  unsaved_->setChecked(true);
  QFont large = url_->font();
  large.setPointSizeF(large.pointSizeF() * 2);
  large.setBold(true);
  url_->setFont(large);
  url_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  state_->setWordWrap(true);
  start_->setAutoDefault(false);
  stop_->setAutoDefault(false);

  logView_->setModel(log_.get());
  logView_->verticalHeader()->hide();
  logView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  // One line a request; what a client accepts can be long, so that column
  // takes the room left (and its tip shows it whole).
  logView_->setWordWrap(false);
  logView_->verticalHeader()->setDefaultSectionSize(logView_->fontMetrics().height() + 6);
  logView_->setColumnWidth(serve::RequestLog::Time, 70);
  logView_->setColumnWidth(serve::RequestLog::Client, 110);
  logView_->setColumnWidth(serve::RequestLog::Method, 60);
  logView_->setColumnWidth(serve::RequestLog::Path, 160);
  logView_->setColumnWidth(serve::RequestLog::Status, 50);
  logView_->setColumnWidth(serve::RequestLog::Bytes, 60);
  logView_->setColumnWidth(serve::RequestLog::Compiled, 75);
  logView_->horizontalHeader()->setSectionResizeMode(serve::RequestLog::Accepts,
                                                     QHeaderView::Stretch);
  connect(log_.get(), &QAbstractItemModel::rowsInserted, logView_, &QTableView::scrollToBottom);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Address:"), address_);
  form->addRow(QStringLiteral("&Port:"), port_);
  form->addRow(QString(), unsaved_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(start_);
  buttons->addWidget(stop_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addWidget(new QLabel(QStringLiteral("Type into the phone:")));
  layout->addWidget(url_);
  layout->addWidget(state_);
  layout->addWidget(logView_, 1);
  resize(760, 460);

  snapshotTimer_.setSingleShot(true);
  snapshotTimer_.setInterval(kSnapshotPauseMs);
  connect(&snapshotTimer_, &QTimer::timeout, this, &ServeWindow::pushEditorText);
  connect(&document_, &TextDocument::changed, this, [this] {
    if (isServing() && unsaved_->isChecked())
      snapshotTimer_.start();
  });
  connect(&document_, &TextDocument::fileChanged, this, &ServeWindow::documentFileChanged);
  connect(unsaved_, &QCheckBox::toggled, this, [this](bool on) {
    if (!site_)
      return;
    if (on)
      pushEditorText();
    else
      site_->clearEditorText();
  });
  connect(start_, &QPushButton::clicked, this, &ServeWindow::start);
  connect(stop_, &QPushButton::clicked, this, &ServeWindow::stop);
  showState(QStringLiteral("Not serving."));
}

ServeWindow::~ServeWindow() { stop(); }

void ServeWindow::fillAddresses() {
  // Nothing is exposed unless the person picks one of the network addresses.
  address_->addItem(QStringLiteral("127.0.0.1 (this computer only)"), QStringLiteral("127.0.0.1"));
  for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
    const auto flags = interface.flags();
    if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
      continue;
    for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
      const QHostAddress ip = entry.ip();
      if (ip.isLoopback() || ip.isLinkLocal())
        continue;
      address_->addItem(QStringLiteral("%1 (%2)").arg(ip.toString(), interface.humanReadableName()),
                        ip.toString());
    }
  }
}

bool ServeWindow::isServing() const { return server_ && server_->isRunning(); }

quint16 ServeWindow::servingPort() const { return isServing() ? server_->port() : 0; }

QString ServeWindow::phoneUrl() const {
  if (!isServing())
    return {};
  QString url = QStringLiteral("http://%1:%2/")
                    .arg(hostPart(server_->settings().address))
                    .arg(server_->port());
  const QString file = document_.filePath();
  if (!file.isEmpty() && QFileInfo(file).absolutePath() == servedFolder_)
    url += QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(file).fileName()));
  return url;
}

void ServeWindow::start() {
  stop();
  const QString file = document_.filePath();
  if (file.isEmpty()) {
    showState(QStringLiteral("Save the deck first: its folder is what the phone is served."), true);
    return;
  }
  servedFolder_ = QFileInfo(file).absolutePath();
  site_ = std::make_unique<serve::Site>(servedFolder_);
  if (unsaved_->isChecked())
    pushEditorText();
  serve::RequestLog* log = log_.get();
  server_ = std::make_unique<serve::HttpServer>(
      *site_, [log](const serve::RequestRecord& record) { log->post(record); });
  serve::ServerSettings settings;
  settings.address = QHostAddress(address_->currentData().toString());
  settings.port = quint16(port_->value());
  QString error;
  if (!server_->start(settings, &error)) {
    server_.reset();
    site_.reset();
    showState(error, true);
    return;
  }
  showState(QStringLiteral("Serving %1").arg(QDir::toNativeSeparators(servedFolder_)));
}

void ServeWindow::stop() {
  snapshotTimer_.stop();
  const bool wasServing = server_ != nullptr;
  server_.reset();
  site_.reset();
  if (wasServing)
    showState(QStringLiteral("Stopped."));
}

void ServeWindow::pushEditorText() {
  if (!site_ || !unsaved_->isChecked())
    return;
  const TextSnapshot snapshot = document_.snapshot();
  const QString path = snapshot.filePath.isEmpty() ? document_.filePath() : snapshot.filePath;
  if (path.isEmpty())
    site_->clearEditorText();
  else
    site_->setEditorText(path, snapshot.text, servedCharset(document_.encoding()));
}

// Saved under another name: the new file is the one the editor's text
// stands in for, and another folder is served from then on.
void ServeWindow::documentFileChanged() {
  if (!isServing())
    return;
  const QString file = document_.filePath();
  if (!file.isEmpty() && QFileInfo(file).absolutePath() != servedFolder_)
    start();
  else
    pushEditorText();
  url_->setText(phoneUrl());
}

void ServeWindow::showState(const QString& message, bool failed) {
  state_->setText(message);
  state_->setStyleSheet(failed ? QStringLiteral("color: #b00000") : QString());
  const bool serving = isServing();
  url_->setText(serving ? phoneUrl() : QStringLiteral("-"));
  start_->setEnabled(!serving);
  stop_->setEnabled(serving);
  address_->setEnabled(!serving);
  port_->setEnabled(!serving);
}

} // namespace tessera
