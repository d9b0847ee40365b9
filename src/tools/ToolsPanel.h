#pragma once

#include <QTabWidget>

class QFrame;

namespace tessera {

class CardTool;
class InputTabs;
class LinkTabs;
class NavigationTabs;
class PhoneTabs;
class Prompts;
class EditorView;

// The element tools panel: thirteen tabs of tools that insert WML at the
// source editor's caret. The card tool's "Other settings" panel (`Panel1`)
// lives in the panel's parent (the window's client area), over the top of
// the editor.
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

  // Error boxes (the card timer's) go through `prompts`.
  ToolsPanel(EditorView* editor, Prompts& prompts, QWidget* parent = nullptr);
  ~ToolsPanel() override;

  static QString caption(Tab tab);
  // The page of `tab`, wherever the user has dragged it, with its tools
  // (a page is built when first shown or asked for).
  QWidget* page(Tab tab);
  QFrame* settingsPanel();

  static constexpr int kHeight = 65;

  // The panel's height is fixed and it takes whatever width the window
  // gives it, so its size asks nothing of the thirteen pages (the tab
  // widget's own answer lays out every hidden page, slowing the start).
  QSize sizeHint() const override { return {minimumWidth(), kHeight}; }
  QSize minimumSizeHint() const override { return {minimumWidth(), kHeight}; }

  // New document: "General tools" active again and every tool field back
  // to its start value. The grown type list of the "Button" tab and the
  // optional-field switches stay as they are.
  void resetForNewDocument();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void build(Tab tab);
  static void showNewChildren(QWidget* page);
  void placeInFocusChain(const QList<QWidget*>& roots);

  EditorView* editor_;
  Prompts& prompts_;
  QWidget* host_; // holds the card tool's settings panel
  QWidget* pages_[TabCount] = {};
  bool built_[TabCount] = {};
  LinkTabs* links_ = nullptr;
  CardTool* card_ = nullptr;
  NavigationTabs* navigation_ = nullptr;
  PhoneTabs* phones_ = nullptr;
  InputTabs* inputs_ = nullptr;
};

} // namespace tessera
