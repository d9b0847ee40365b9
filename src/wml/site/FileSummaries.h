#pragma once

// The per-file pass of a site check: each function reads one file's content
// (already decoded) into its summary. Reentrant: the site check runs them on
// the thread pool, one file each.

#include "wml/site/SiteModel.h"

namespace tessera::wml {
class ParsedDeck;
}

namespace tessera::wml::site {

// A deck's text: the checker's findings (with `diskPath`, the file on disk,
// for links to files beside it; empty for none; calls of scripts left to
// the site), its cards and links, and when `budget` > 0 its compiled size
// and the over-budget warning, from one parse.
FileSummary summariseDeck(const QString& path, const QString& text, const QString& diskPath,
                          int budget);

// A compiled deck decoded back to its source: its cards and links (its
// findings would be about the decoded text, which no one wrote, so it has
// none but the budget's, measured on the file's own bytes).
FileSummary summariseCompiledDeck(const QString& path, const QString& decodedSource, int fileSize,
                                  int budget);

// A script's source: the compiler's findings, its extern functions and
// access pragma (as far as it parsed) and its first error.
FileSummary summariseScript(const QString& path, const QString& text);

// A deck already parsed and checked (the editor's live check of a document
// inside a checked site): its cards and links beside `findings`.
FileSummary deckSummary(const QString& path, const ParsedDeck& deck, QList<Finding> findings);

// A script unit already compiled (the editor's live check).
FileSummary scriptSummary(const QString& path, const script::ScriptCompileResult& compiled);

// A file that could not be read or decoded, with the reason.
FileSummary unreadableFile(const QString& path, FileKind kind, const QString& problem);

} // namespace tessera::wml::site
