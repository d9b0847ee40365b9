#pragma once

// A WAP site as one thing to check: what each file of a folder holds that
// another file can point at (cards, extern functions, a picture's size, a
// compiled size), learnt once per file on a worker, then the rules between
// files run over these summaries without reading anything again.
//
//   FileSummary deck = summariseDeck("news/today.wml", text, diskPath, budget);
//   QList<SiteFinding> found = checkSite(site, options);
//
// Paths inside the site are relative, '/'-separated ("news/today.wml").

#include "wml/Finding.h"
#include "wml/script/ScriptCompiler.h"
#include "wml/xml/DeckLinks.h"

#include <QList>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessera::wml::site {

enum class FileKind { Deck, CompiledDeck, Script, CompiledScript, Picture };

// The kind of a site file by its name's suffix (any case); nothing for a
// file the site check does not read.
std::optional<FileKind> fileKindOf(const QString& name);

// A script's extern function and its "use access" pragma (an absent part
// takes its default), as the compiler reads them.
using ScriptFunction = script::ExternFunction;
using ScriptAccess = script::AccessPragma;

// What one file holds, as far as other files are concerned, and its own
// findings.
struct FileSummary {
  QString path;
  FileKind kind = FileKind::Deck;
  // Why the file could not be read or decoded; empty when it was.
  QString problem;
  QList<Finding> findings;

  // Decks, text or compiled: whether it parsed (a well-formed tree), its
  // cards, its links and where its root element starts.
  bool parsed = false;
  QStringList cardIds;
  QList<xml::DeckLink> links;
  int compiledSize = -1;

  // Scripts: whether the interface is known (a source that parsed, or
  // bytecode that verified), its extern functions and access pragma; a
  // source's first error when it does not compile.
  bool interfaceKnown = false;
  std::optional<Finding> compileError;
  QList<ScriptFunction> externs;
  std::optional<ScriptAccess> access;

  // Pictures: the decoded size.
  QSize pictureSize;
};

struct Site {
  QList<FileSummary> files;
  // Every other file under the folder (a page, a style sheet): a link to one
  // of these is not to a missing file.
  QSet<QString> otherFiles;
};

struct SiteOptions {
  QString entry = QStringLiteral("index.wml");
  // The phone screen pictures must fit; an empty size checks no size.
  QSize screen;
};

struct SiteFinding {
  QString path; // empty: the site as a whole
  Finding finding;
  bool operator==(const SiteFinding&) const = default;
};

// Each file's own findings and the findings between files: links to cards
// of other decks and to decks that do not parse, links within the site from
// its root to files that do not exist, script calls (function, argument
// count, access), pictures that do not decode or do not fit the screen, and
// as notes the files nothing reaches from the entry deck. Sorted by path,
// then line and column.
QList<SiteFinding> checkSite(const Site& site, const SiteOptions& options);

// The findings checkSite gives one file, with `file` standing for the file
// of its path (the edited document as it is now; a file the site did not
// have joins it): its own findings, those of its links, and whether the
// entry deck reaches it. Sorted by line and column.
QList<Finding> checkFileInSite(const Site& site, const SiteOptions& options,
                               const FileSummary& file);

void sortSiteFindings(QList<SiteFinding>& findings);

} // namespace tessera::wml::site
