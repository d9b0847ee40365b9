#include "tools/ToolsPanel.h"

#include "tools/CardTool.h"
#include "tools/InlineTabs.h"
#include "tools/InputTabs.h"
#include "tools/LinkTabs.h"
#include "tools/NavigationTabs.h"
#include "tools/PhoneTabs.h"

#include <QFrame>

namespace tessera {

QString ToolsPanel::caption(Tab tab) {
  static const char* const captions[TabCount] = {
      "General tools", "Link",    "Image",      "Image link",
      "Card",          "Button",  "Phone call", "Name list",
      "Input field",   "Comment", "Formatting", "Characters, symbols",
      "Other"};
  return QString::fromLatin1(captions[tab]);
}

ToolsPanel::ToolsPanel(SourceEditor* editor, Prompts& prompts, QWidget* parent)
    : QTabWidget(parent) {
  setObjectName(QStringLiteral("PageControl1"));
  setFixedHeight(kHeight);
  // The tabs' rows must not hold the window wider than its smallest size;
  // on a narrow window the ends of the longer rows are cut off instead.
  setMinimumWidth(100);
  setDocumentMode(false);
  setUsesScrollButtons(true);
  for (int t = 0; t < TabCount; ++t) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(t + 1));
    pages_[t] = page;
    addTab(page, caption(Tab(t)));
  }
  // Built in tab order, so the keyboard walks each tab left to right.
  buildGeneralToolsTab(pages_[GeneralTools], editor);
  links_ = new LinkTabs(pages_[Link], pages_[Image], pages_[ImageLink], editor);
  card_ = new CardTool(pages_[Card], parent ? parent : this, this, editor, prompts);
  navigation_ = new NavigationTabs(pages_[Button], pages_[Other], editor);
  phones_ = new PhoneTabs(pages_[PhoneCall], pages_[NameList], editor);
  inputs_ = new InputTabs(pages_[InputField], pages_[Comment], editor);
  buildFormattingTab(pages_[Formatting], editor);
  buildCharactersTab(pages_[CharactersSymbols], editor);

  // Any other tab closes the card tool's "Other settings" panel.
  connect(this, &QTabWidget::currentChanged, this, [this] { card_->closeSettings(); });
}

ToolsPanel::~ToolsPanel() = default;

QFrame* ToolsPanel::settingsPanel() const { return card_->settingsPanel(); }

void ToolsPanel::resetForNewDocument() {
  setCurrentWidget(pages_[GeneralTools]);
  links_->reset();
  card_->reset();
  navigation_->reset();
  phones_->reset();
  inputs_->reset();
}

} // namespace tessera
