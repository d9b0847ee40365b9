#pragma once

#include "generators/GeneratorDialog.h"
#include "generators/GeneratorTexts.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tessera {

class Prompts;

// The site wizard: four fields make a complete one-card page, which Save
// writes to a file of the user's choice. The editor is never touched.
class SiteWizard : public GeneratorDialog {
  Q_OBJECT
public:
  static constexpr int kMaxSiteNameLength = 15;

  explicit SiteWizard(Prompts& prompts, QWidget* parent = nullptr);

  // The page as the fields make it now.
  SitePage fields() const;

  // Builds the page, asks for a file name and writes it; closes after a
  // successful write. Cancelling the dialog or a failed write keeps the
  // window open as it was.
  void save();
  void retry();

  // The page last built by Save (empty after a reset).
  QString pageBuffer() const { return pageBuffer_; }

protected:
  void reset() override { retry(); }

private:
  QLineEdit* addField(int step, const QString& frame, const QString& label, int top);

  Prompts& prompts_;
  QLineEdit* siteName_ = nullptr;
  QLineEdit* siteAddress_ = nullptr;
  QLineEdit* welcomeText_ = nullptr;
  QPlainTextEdit* body_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* retryButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QString pageBuffer_;
  QString fileName_;
};

} // namespace tessera
