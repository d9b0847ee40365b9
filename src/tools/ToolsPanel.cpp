#include "tools/ToolsPanel.h"

#include "tools/CardTool.h"
#include "tools/InlineTabs.h"
#include "tools/InputTabs.h"
#include "tools/LinkTabs.h"
#include "tools/NavigationTabs.h"
#include "tools/PhoneTabs.h"

#include <QEvent>
#include <QFrame>
#include <QTabBar>

#include <algorithm>

namespace tessera {

QString ToolsPanel::caption(Tab tab) {
  static const char* const captions[TabCount] = {
      "General tools", "Link",    "Image",      "Image link",
      "Card",          "Button",  "Phone call", "Name list",
      "Input field",   "Comment", "Formatting", "Characters, symbols",
      "Other"};
  return QString::fromLatin1(captions[tab]);
}

ToolsPanel::ToolsPanel(EditorView* editor, Prompts& prompts, QWidget* parent)
    : QTabWidget(parent), editor_(editor), prompts_(prompts), host_(parent ? parent : this) {
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
  // The first page is on screen from the start; every other one is built
  // as it is first shown (or asked for), which keeps the start of the
  // program short.
  for (int t = 0; t < TabCount; ++t)
    if (Tab(t) != GeneralTools)
      pages_[t]->installEventFilter(this);
  build(GeneralTools);

  // Any other tab closes the card tool's "Other settings" panel.
  connect(this, &QTabWidget::currentChanged, this, [this] {
    if (card_)
      card_->closeSettings();
  });
}

ToolsPanel::~ToolsPanel() = default;

QWidget* ToolsPanel::page(Tab tab) {
  build(tab);
  return pages_[tab];
}

QFrame* ToolsPanel::settingsPanel() {
  build(Card);
  return card_->settingsPanel();
}

void ToolsPanel::build(Tab tab) {
  if (built_[tab])
    return;
  // Tabs that share their tools' state are built together.
  QList<Tab> group{tab};
  switch (tab) {
  case GeneralTools: buildGeneralToolsTab(pages_[GeneralTools], editor_); break;
  case Link:
  case Image:
  case ImageLink:
    links_ = new LinkTabs(pages_[Link], pages_[Image], pages_[ImageLink], editor_);
    group = {Link, Image, ImageLink};
    break;
  case Card: card_ = new CardTool(pages_[Card], host_, this, editor_, prompts_); break;
  case Button:
  case Other:
    navigation_ = new NavigationTabs(pages_[Button], pages_[Other], editor_);
    group = {Button, Other};
    break;
  case PhoneCall:
  case NameList:
    phones_ = new PhoneTabs(pages_[PhoneCall], pages_[NameList], editor_);
    group = {PhoneCall, NameList};
    break;
  case InputField:
  case Comment:
    inputs_ = new InputTabs(pages_[InputField], pages_[Comment], editor_);
    group = {InputField, Comment};
    break;
  case Formatting: buildFormattingTab(pages_[Formatting], editor_); break;
  case CharactersSymbols: buildCharactersTab(pages_[CharactersSymbols], editor_); break;
  case TabCount: return;
  }
  QList<QWidget*> made;
  for (const Tab t : group) {
    built_[t] = true;
    pages_[t]->removeEventFilter(this);
    showNewChildren(pages_[t]);
    made.append(pages_[t]);
  }
  if (tab == Card)
    made.append(card_->settingsPanel());
  // The first page is built with the panel, so already in its place.
  if (tab != GeneralTools)
    placeInFocusChain(made);
}

// Children made in a page that is already on screen would otherwise appear
// one event later, after a first painting of the empty page.
void ToolsPanel::showNewChildren(QWidget* page) {
  if (!page->isVisible())
    return;
  for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!(child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide)))
      child->show();
}

// Widgets made after the window was put together join the end of its focus
// chain. Those of a newly built page go right after the tab row (and its
// scroll buttons), so Tab walks from the tabs into the page and on to the
// editor as on a page built with the panel; hidden pages are skipped.
void ToolsPanel::placeInFocusChain(const QList<QWidget*>& roots) {
  QList<QWidget*> fields;
  QWidget* const start = window();
  for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
      continue;
    if (std::any_of(roots.begin(), roots.end(), [w](QWidget* r) { return r->isAncestorOf(w); }))
      fields.append(w);
  }
  QWidget* previous = tabBar();
  for (QWidget* w = previous->nextInFocusChain(); tabBar()->isAncestorOf(w);
       w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus)
      previous = w;
  for (QWidget* field : fields) {
    QWidget::setTabOrder(previous, field);
    previous = field;
  }
}

bool ToolsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    for (int t = 0; t < TabCount; ++t)
      if (pages_[t] == watched)
        build(Tab(t));
  }
  return QTabWidget::eventFilter(watched, event);
}

void ToolsPanel::resetForNewDocument() {
  setCurrentWidget(pages_[GeneralTools]);
  // Pages not built yet still hold their start values.
  if (links_)
    links_->reset();
  if (card_)
    card_->reset();
  if (navigation_)
    navigation_->reset();
  if (phones_)
    phones_->reset();
  if (inputs_)
    inputs_->reset();
}

} // namespace tessera
