#pragma once

#include <QTabWidget>

namespace tessera {

// The element tools panel: thirteen tabs of tools that insert WML at the
// source editor's caret.
class ToolsPanel : public QTabWidget {
  Q_OBJECT
public:
  enum Tab {
    GeneralTools,
    Link,
    Image,
    ImageLink,
    Card,
    Button,
    PhoneCall,
    NameList,
    InputField,
    Comment,
    Formatting,
    CharactersSymbols,
    Other,
    TabCount
  };

  explicit ToolsPanel(QWidget* parent = nullptr);

  static QString caption(Tab tab);
  // The page of `tab`, wherever the user has dragged it.
  QWidget* page(Tab tab) const { return pages_[tab]; }

  static constexpr int kHeight = 65;

  // New document: every tool field back to its start value.
  void resetForNewDocument();

private:
  QWidget* pages_[TabCount] = {};
};

} // namespace tessera
