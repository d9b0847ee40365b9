#include "tools/ToolsPanel.h"

namespace tessera {

QString ToolsPanel::caption(Tab tab) {
  static const char* const captions[TabCount] = {
      "General tools", "Link",    "Image",      "Image link",
      "Card",          "Button",  "Phone call", "Name list",
      "Input field",   "Comment", "Formatting", "Characters, symbols",
      "Other"};
  return QString::fromLatin1(captions[tab]);
}

ToolsPanel::ToolsPanel(QWidget* parent) : QTabWidget(parent) {
  setObjectName(QStringLiteral("PageControl1"));
  setFixedHeight(kHeight);
  setDocumentMode(false);
  setUsesScrollButtons(true);
  for (int t = 0; t < TabCount; ++t) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(t + 1));
    pages_[t] = page;
    addTab(page, caption(Tab(t)));
  }
}

void ToolsPanel::resetForNewDocument() {
  // Each tab's tool resets its own fields here as the tools are added.
}

} // namespace tessera
