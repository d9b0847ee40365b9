#pragma once

// Checking a folder as one WAP site: every deck, script, compiled file and
// picture under it (symbolic links followed only while they stay inside),
// texts read as the editor reads them, binary files decoded in child
// processes, each file summarised on the thread pool, then the rules between
// files over the summaries (wml/site).
//
//   SiteCheckResult result = checkSiteFolder({folder, options, budget});
//
// Blocking: the editor calls it from a worker, the command line directly.

#include "wml/site/SiteModel.h"

#include <QHash>
#include <QString>

#include <memory>

namespace tessera {

struct SiteCheckRequest {
  QString folder;
  wml::site::SiteOptions options;
  int budget = 0; // bytes; 0: none
  // Texts that stand for their files (the edited document's unsaved text),
  // keyed by absolute path, lines broken by '\n'.
  QHash<QString, QString> unsavedTexts;
  // The program that decodes binary files (`--inspect`); empty: this one.
  QString decoderProgram;
};

// A checked site as the check read it, kept for the live check of a
// document inside it: the summaries of its files and the options it ran
// with. Immutable once made; shared with the workers.
struct CheckedSite {
  QString folder;    // absolute
  QString canonical; // the folder with its links resolved
  wml::site::Site site;
  wml::site::SiteOptions options;
  // The path inside the site ("news/today.wml") of a deck or script at
  // `filePath`, when it lies inside the folder and not in a hidden folder;
  // empty otherwise. Asks the file system: called on a worker.
  QString sitePathOf(const QString& filePath) const;
};

struct SiteCheckResult {
  QString folder;                         // absolute
  QString error;                          // the folder could not be read; nothing was checked
  QList<wml::site::SiteFinding> findings; // sorted by path, line, column
  int decks = 0;                          // text and compiled
  int scripts = 0;                        // source and compiled
  int pictures = 0;
  std::shared_ptr<const CheckedSite> checked; // null when the folder could not be read
  int fileCount() const { return decks + scripts + pictures; }
  // "Checked 12 files (8 decks, 2 scripts, 2 pictures): 1 error, 3 warnings, 2 notes."
  QString summary() const;
};

SiteCheckResult checkSiteFolder(const SiteCheckRequest& request);

} // namespace tessera
