#include "deck/PreviewWindow.h"

#include "deck/DeckService.h"
#include "deck/PhonePainter.h"
#include "deck/PreviewScreen.h"
#include "platform/PlainButton.h"
#include "wml/Positions.h"

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

PreviewWindow::PreviewWindow(QPlainTextEdit& editor, DeckService& service, QWidget* parent)
    : QDockWidget(parent), editor(editor), service(service) {
  setObjectName(QStringLiteral("PreviewWindow"));
  setWindowTitle(QStringLiteral("Preview"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  buildLayout();
  // Active, the preview's keys are the phone's.
  setFocusProxy(phone);

  connect(&service, &DeckService::published, this, [this](const auto& parsed) {
    if (isVisible())
      showRevision(parsed);
  });
  connect(&editor, &QPlainTextEdit::cursorPositionChanged, this, &PreviewWindow::caretMoved);
  connect(phone, &PreviewScreen::screenChanged, this, &PreviewWindow::updateSideViews);
  updateSideViews();
}

PreviewWindow::~PreviewWindow() = default;

bool PreviewWindow::busy() const { return service.busy(); }

void PreviewWindow::buildLayout() {
  phone = new PreviewScreen(this);
  profileBox = new QComboBox(this);
  profileBox->setObjectName(QStringLiteral("PreviewProfile"));
  for (const PhoneProfile& profile : phoneProfiles())
    profileBox->addItem(profile.label);
  profileBox->setCurrentIndex(phone->profile());
  connect(profileBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    phone->setProfile(index);
    // A larger phone needs a wider dock; floating, the window fits it.
    widget()->layout()->activate();
    if (isFloating())
      adjustSize();
  });

  softKey1 = plainButton(QString(), QStringLiteral("SoftKey1"), this);
  softKey2 = plainButton(QString(), QStringLiteral("SoftKey2"), this);
  // The phone's own back key, told apart from a soft key a deck labels "Back".
  backButton = plainButton(QStringLiteral("\u2190 Back key"), QStringLiteral("PreviewBack"), this);
  backButton->setToolTip(QStringLiteral("The phone's back key (Esc)"));
  softKey1->setToolTip(QStringLiteral("Left soft key"));
  softKey2->setToolTip(QStringLiteral("Right soft key"));
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

  auto* body = new QWidget(this);
  auto* columns = new QHBoxLayout(body);
  columns->addLayout(phoneColumn);
  columns->addLayout(sideColumn, 1);
  setWidget(body);
}

void PreviewWindow::documentOpened() {
  freshStart = true;
  caretCard.clear();
  if (isVisible())
    refreshNow();
}

void PreviewWindow::showEvent(QShowEvent* event) {
  QDockWidget::showEvent(event);
  refreshNow();
}

void PreviewWindow::refreshNow() { service.refreshNow(); }

void PreviewWindow::showRevision(const std::shared_ptr<const ParsedRevision>& parsed) {
  if (parsed->script) {
    // The phone keeps its deck; a call of this unit runs the text as edited.
    phone->setEditedScript(parsed->filePath, parsed->text);
    return;
  }
  cards = parsed->cardStarts;
  phone->setDocumentPath(parsed->filePath);
  const QString wanted =
      followCaret->isChecked() ? wml::agent::cardAtLine(cards, caretLine()) : QString();
  caretCard = wanted;
  if (freshStart) {
    freshStart = false;
    phone->openDocument(parsed->deck, parsed->filePath, wanted);
  } else {
    phone->showDocument(parsed->deck, wanted);
  }
  emit refreshed();
}

int PreviewWindow::caretLine() const { return editor.textCursor().blockNumber() + 1; }

void PreviewWindow::caretMoved() {
  if (!isVisible() || !followCaret->isChecked() || cards.empty())
    return;
  const QString card = wml::agent::cardAtLine(cards, caretLine());
  if (card == caretCard)
    return;
  caretCard = card;
  if (!card.isEmpty())
    phone->showCard(card);
}

void PreviewWindow::showSource() {
  const wml::agent::UserAgent& agent = phone->agent();
  const wml::LineColumn start = agent.cardStart();
  if (!agent.showsDocumentDeck() || !start.known())
    return;
  const QTextBlock block = editor.document()->findBlockByNumber(start.line - 1);
  if (!block.isValid())
    return;
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + utf16OffsetOfColumn(block.text(), start.column));
  editor.setTextCursor(cursor);
  emit caretPlaced();
  editor.ensureCursorVisible();
  editor.window()->activateWindow();
  editor.setFocus();
}

void PreviewWindow::updateSideViews() {
  const wml::agent::Screen shown = phone->shownScreen();
  softKey1->setText(shown.leftKey);
  softKey1->setEnabled(!shown.leftKey.isEmpty());
  softKey2->setText(shown.rightKey);
  softKey2->setEnabled(!shown.rightKey.isEmpty());

  const wml::agent::UserAgent& agent = phone->agent();
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
