#include "deck/PreviewWindow.h"

#include "deck/PhonePainter.h"
#include "deck/PreviewScreen.h"
#include "platform/PlainButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace tessera {

PreviewWindow::PreviewWindow(QPlainTextEdit& editor, std::function<QString()> documentPath,
                             QWidget* parent)
    : QDialog(parent), editor(editor), documentPath(std::move(documentPath)) {
  setObjectName(QStringLiteral("PreviewWindow"));
  setWindowTitle(QStringLiteral("Preview"));
  setModal(false);
  worker.setMaxThreadCount(1);
  buildLayout();

  pause.setSingleShot(true);
  pause.setInterval(kPauseMs);
  connect(&pause, &QTimer::timeout, this, &PreviewWindow::refreshNow);
  connect(editor.document(), &QTextDocument::contentsChange, this, &PreviewWindow::edited);
  connect(&editor, &QPlainTextEdit::cursorPositionChanged, this, &PreviewWindow::caretMoved);
  connect(phone, &PreviewScreen::screenChanged, this, &PreviewWindow::updateSideViews);
  updateSideViews();
}

PreviewWindow::~PreviewWindow() {
  // A parse still running must not call back into a window that is gone.
  worker.waitForDone();
}

void PreviewWindow::buildLayout() {
  phone = new PreviewScreen(this);
  profileBox = new QComboBox(this);
  profileBox->setObjectName(QStringLiteral("PreviewProfile"));
  for (const PhoneProfile& profile : phoneProfiles())
    profileBox->addItem(profile.label);
  profileBox->setCurrentIndex(phone->profile());
  connect(profileBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    phone->setProfile(index);
    adjustSize();
  });

  softKey1 = plainButton(QString(), QStringLiteral("SoftKey1"), this);
  softKey2 = plainButton(QString(), QStringLiteral("SoftKey2"), this);
  backButton = plainButton(QStringLiteral("Back"), QStringLiteral("PreviewBack"), this);
  connect(softKey1, &QPushButton::clicked, phone, [this] { phone->pressSoftKey(1); });
  connect(softKey2, &QPushButton::clicked, phone, [this] { phone->pressSoftKey(2); });
  connect(backButton, &QPushButton::clicked, phone, &PreviewScreen::back);

  followCaret = new QCheckBox(QStringLiteral("Follow caret"), this);
  followCaret->setObjectName(QStringLiteral("PreviewFollow"));
  followCaret->setChecked(true);
  sourceButton = plainButton(QStringLiteral("Show Source"), QStringLiteral("PreviewSource"), this);
  connect(sourceButton, &QPushButton::clicked, this, &PreviewWindow::showSource);

  variablesTable = new QTableWidget(0, 2, this);
  variablesTable->setObjectName(QStringLiteral("PreviewVariables"));
  variablesTable->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
  variablesTable->horizontalHeader()->setStretchLastSection(true);
  variablesTable->verticalHeader()->hide();
  variablesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  historyList = new QListWidget(this);
  historyList->setObjectName(QStringLiteral("PreviewHistory"));
  infoList = new QListWidget(this);
  infoList->setObjectName(QStringLiteral("PreviewInfo"));
  infoList->setMaximumHeight(60);

  auto* keys = new QHBoxLayout;
  keys->addWidget(softKey1);
  keys->addWidget(backButton);
  keys->addWidget(softKey2);
  auto* phoneColumn = new QVBoxLayout;
  phoneColumn->addWidget(profileBox);
  phoneColumn->addWidget(phone, 0, Qt::AlignHCenter);
  phoneColumn->addLayout(keys);
  phoneColumn->addStretch();

  auto* sideColumn = new QVBoxLayout;
  auto* sideButtons = new QHBoxLayout;
  sideButtons->addWidget(followCaret);
  sideButtons->addWidget(sourceButton);
  sideColumn->addLayout(sideButtons);
  sideColumn->addWidget(new QLabel(QStringLiteral("Variables"), this));
  sideColumn->addWidget(variablesTable, 2);
  sideColumn->addWidget(new QLabel(QStringLiteral("History"), this));
  sideColumn->addWidget(historyList, 1);
  sideColumn->addWidget(new QLabel(QStringLiteral("Deck"), this));
  sideColumn->addWidget(infoList);

  auto* columns = new QHBoxLayout(this);
  columns->addLayout(phoneColumn);
  columns->addLayout(sideColumn, 1);
}

void PreviewWindow::documentOpened() {
  freshStart = true;
  caretCard.clear();
  if (isVisible())
    refreshNow();
}

void PreviewWindow::edited() {
  ++revision;
  if (isVisible())
    pause.start();
}

void PreviewWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  refreshNow();
  emit visibilityChanged(true);
}

void PreviewWindow::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  pause.stop();
  emit visibilityChanged(false);
}

void PreviewWindow::refreshNow() {
  pause.stop();
  if (running) {
    pending = true; // served with a newer snapshot when this run ends
    return;
  }
  running = true;
  pending = false;
  const QString text = editor.document()->toPlainText();
  const int parsedRevision = revision;
  worker.start([this, text, parsedRevision] {
    auto parsed = std::make_shared<DeckDocument>(readDeckDocument(text));
    std::vector<CardStart> starts = cardStarts(*parsed);
    QMetaObject::invokeMethod(
        this,
        [this, parsed, starts = std::move(starts), parsedRevision]() mutable {
          finishRefresh(std::move(parsed), std::move(starts), parsedRevision);
        },
        Qt::QueuedConnection);
  });
}

void PreviewWindow::finishRefresh(std::shared_ptr<DeckDocument> parsed,
                                  std::vector<CardStart> starts, int parsedRevision) {
  running = false;
  if (pending || parsedRevision != revision) {
    refreshNow(); // the text moved on: this result is already old
    return;
  }
  cards = std::move(starts);
  const QString path = documentPath ? documentPath() : QString();
  phone->setDocumentPath(path);
  const QString wanted = followCaret->isChecked() ? cardAtLine(cards, caretLine()) : QString();
  caretCard = wanted;
  if (freshStart) {
    freshStart = false;
    phone->openDocument(std::move(parsed), path, wanted);
  } else {
    phone->showDocument(std::move(parsed), wanted);
  }
  emit refreshed();
}

int PreviewWindow::caretLine() const { return editor.textCursor().blockNumber() + 1; }

void PreviewWindow::caretMoved() {
  if (!isVisible() || !followCaret->isChecked() || cards.empty())
    return;
  const QString card = cardAtLine(cards, caretLine());
  if (card == caretCard)
    return;
  caretCard = card;
  if (!card.isEmpty())
    phone->showCard(card);
}

void PreviewWindow::showSource() {
  const UserAgent& agent = phone->agent();
  const wml::TextPosition start = agent.cardStart();
  if (!agent.showsDocumentDeck() || start.line <= 0)
    return;
  const QTextBlock block = editor.document()->findBlockByNumber(start.line - 1);
  if (!block.isValid())
    return;
  QTextCursor cursor(block);
  const QString line = block.text();
  int offset = 0;
  for (int column = 1; column < start.column && offset < line.size(); ++column)
    offset += line.at(offset).isHighSurrogate() && offset + 1 < line.size() ? 2 : 1;
  cursor.setPosition(block.position() + offset);
  editor.setTextCursor(cursor);
  editor.ensureCursorVisible();
  editor.window()->activateWindow();
  editor.setFocus();
}

void PreviewWindow::updateSideViews() {
  const Screen shown = phone->shownScreen();
  softKey1->setText(shown.leftKey);
  softKey1->setEnabled(!shown.leftKey.isEmpty());
  softKey2->setText(shown.rightKey);
  softKey2->setEnabled(!shown.rightKey.isEmpty());

  const UserAgent& agent = phone->agent();
  const auto& all = agent.variables().all();
  variablesTable->setRowCount(int(all.size()));
  int row = 0;
  for (auto it = all.cbegin(); it != all.cend(); ++it, ++row) {
    variablesTable->setItem(row, 0, new QTableWidgetItem(it.key()));
    variablesTable->setItem(row, 1, new QTableWidgetItem(it.value()));
  }
  historyList->clear();
  historyList->addItems(agent.historyLabels());
  if (historyList->count() > 0)
    historyList->setCurrentRow(historyList->count() - 1);
  infoList->clear();
  infoList->addItems(agent.deckInfo());
}

} // namespace tessera
