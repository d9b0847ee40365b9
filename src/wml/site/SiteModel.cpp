#include "wml/site/SiteModel.h"
#include "wml/site/SiteAddress.h"

#include "wml/script/ScriptCall.h"

#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <algorithm>

namespace tessera::wml::site {

namespace {

QString fileName(const QString& path) { return path.section(u'/', -1); }

QString undecodableRule(FileKind kind) {
  switch (kind) {
  case FileKind::Picture: return QStringLiteral("bad-picture");
  case FileKind::CompiledDeck: return QStringLiteral("bad-compiled-deck");
  case FileKind::CompiledScript: return QStringLiteral("bad-bytecode");
  case FileKind::Deck:
  case FileKind::Script: break;
  }
  return QStringLiteral("unreadable-file");
}

class SiteRules {
public:
  // With `only`, the findings of that one file, which stands for the file
  // of its path (or joins the site when it has none).
  SiteRules(const Site& site, const SiteOptions& options, const FileSummary* only = nullptr)
      : site_(site), options_(options), only_(only) {
    for (const FileSummary& file : site.files)
      byPath_.insert(file.path, &file);
    if (only) {
      byPath_.insert(only->path, only);
      reported_.append(only);
    } else {
      for (const FileSummary& file : site.files)
        reported_.append(&file);
    }
  }

  QList<SiteFinding> run() {
    for (const FileSummary* file : std::as_const(reported_))
      for (const Finding& finding : file->findings)
        found_.append({file->path, finding});
    for (const FileSummary* file : std::as_const(reported_))
      if (file->kind == FileKind::Deck && file->parsed)
        for (const xml::DeckLink& link : file->links)
          followLink(*file, link);
    for (const FileSummary* file : std::as_const(reported_))
      if (!file->problem.isEmpty() && !isReferenced(file->path))
        found_.append(
            {file->path, {{1, 1}, Severity::Error, file->problem, undecodableRule(file->kind)}});
    reachability();
    sortSiteFindings(found_);
    return std::move(found_);
  }

private:
  // Whether a deck links to `path`, which then tells why it cannot be read.
  // A whole-site run has followed every link by now.
  bool isReferenced(const QString& path) const {
    if (!only_)
      return referenced_.contains(path);
    for (const FileSummary* file : byPath_)
      if (file->kind == FileKind::Deck && file->parsed)
        for (const xml::DeckLink& link : file->links)
          if (const LinkTarget target = resolveLink(file->path, link.value);
              target.kind == LinkTarget::Kind::InSite && target.path == path)
            return true;
    return false;
  }

  void report(const FileSummary& from, const xml::DeckLink& link, Severity severity,
              const char* rule, const QString& message) {
    found_.append({from.path, {link.at, severity, message, QString::fromLatin1(rule)}});
  }

  // "The href "news.wml#top" of <go>"
  static QString linkText(const xml::DeckLink& link) {
    return QStringLiteral("The %1 \"%2\" of <%3>").arg(link.attribute, link.value, link.element);
  }

  void followLink(const FileSummary& from, const xml::DeckLink& link) {
    const LinkTarget target = resolveLink(from.path, link.value);
    if (target.kind != LinkTarget::Kind::InSite)
      return;
    const FileSummary* to = byPath_.value(target.path);
    if (!to) {
      // A link beside the deck is the deck checker's to report.
      if (target.rootRelative && !site_.otherFiles.contains(target.path))
        report(from, link, Severity::Warning, "missing-file",
               QStringLiteral("%1 names a file that does not exist in the site (%2).")
                   .arg(linkText(link), target.path));
      return;
    }
    referenced_.insert(to->path);
    if (!to->problem.isEmpty()) {
      report(from, link, Severity::Error, qPrintable(undecodableRule(to->kind)),
             QStringLiteral("%1 names %2, which cannot be read: %3")
                 .arg(linkText(link), to->path, to->problem));
      return;
    }
    const bool picture = link.element == QLatin1String("img");
    switch (to->kind) {
    case FileKind::Deck:
    case FileKind::CompiledDeck:
      if (!picture)
        linkToDeck(from, link, target, *to);
      break;
    case FileKind::Script:
    case FileKind::CompiledScript:
      if (!picture)
        callScript(from, link, target, *to);
      break;
    case FileKind::Picture:
      if (picture)
        showPicture(from, link, *to);
      break;
    }
  }

  void linkToDeck(const FileSummary& from, const xml::DeckLink& link, const LinkTarget& target,
                  const FileSummary& deck) {
    if (!deck.parsed) {
      report(from, link, Severity::Error, "broken-deck-link",
             QStringLiteral("%1 points to %2, which is not a well-formed deck.")
                 .arg(linkText(link), deck.path));
      return;
    }
    const QString card = QUrl::fromPercentEncoding(target.fragment.toUtf8());
    if (card.isEmpty() || card.contains(u'$') || deck.cardIds.contains(card))
      return;
    report(from, link, Severity::Error, "dangling-card-link",
           QStringLiteral("%1 points to a card that does not exist: %2 has no card with the id "
                          "\"%3\".")
               .arg(linkText(link), deck.path, card));
  }

  void callScript(const FileSummary& from, const xml::DeckLink& link, const LinkTarget& target,
                  const FileSummary& script) {
    const QString name = fileName(script.path);
    if (!accessAllows(script.access, script.path, from.path)) {
      report(from, link, Severity::Error, "access-denied",
             QStringLiteral("%1 calls %2, whose \"use access\" pragma does not let %3 call it.")
                 .arg(linkText(link), script.path, localAddress(from.path)));
      return;
    }
    std::optional<script::ScriptCallProblem> problem;
    if (script.compileError)
      problem = script::doesNotCompile(name, *script.compileError);
    else if (script.interfaceKnown)
      problem = script::checkCallOf(name, script.externs, target.fragment);
    if (problem)
      report(from, link, problem->severity, qPrintable(problem->rule), problem->message);
  }

  void showPicture(const FileSummary& from, const xml::DeckLink& link, const FileSummary& picture) {
    const QSize screen = options_.screen;
    const QSize size = picture.pictureSize;
    if (screen.isEmpty() || (size.width() <= screen.width() && size.height() <= screen.height()))
      return;
    report(from, link, Severity::Warning, "picture-too-large",
           QStringLiteral("The picture %1 is %2 × %3 pixels, larger than the phone's %4 × %5 "
                          "screen.")
               .arg(picture.path)
               .arg(size.width())
               .arg(size.height())
               .arg(screen.width())
               .arg(screen.height()));
  }

  void reachability() {
    const FileSummary* entry = byPath_.value(options_.entry);
    if (!entry) {
      if (only_)
        return;
      found_.append({QString(),
                     {{},
                      Severity::Note,
                      QStringLiteral("The site has no entry deck %1, so files nothing reaches "
                                     "are not looked for.")
                          .arg(options_.entry),
                      QStringLiteral("no-entry-deck")}});
      return;
    }
    QSet<QString> reached{entry->path};
    QList<const FileSummary*> queue{entry};
    while (!queue.isEmpty()) {
      const FileSummary* deck = queue.takeLast();
      for (const xml::DeckLink& link : deck->links) {
        const LinkTarget target = resolveLink(deck->path, link.value);
        const FileSummary* to =
            target.kind == LinkTarget::Kind::InSite ? byPath_.value(target.path) : nullptr;
        if (!to || reached.contains(to->path))
          continue;
        reached.insert(to->path);
        queue.append(to);
      }
    }
    for (const FileSummary* file : std::as_const(reported_))
      if (!reached.contains(file->path))
        found_.append({file->path,
                       {{1, 1},
                        Severity::Note,
                        QStringLiteral("Nothing reaches this file from %1.").arg(entry->path),
                        QStringLiteral("unreachable-file")}});
  }

  const Site& site_;
  const SiteOptions& options_;
  const FileSummary* only_;
  QHash<QString, const FileSummary*> byPath_;
  QList<const FileSummary*> reported_;
  QSet<QString> referenced_;
  QList<SiteFinding> found_;
};

} // namespace

std::optional<FileKind> fileKindOf(const QString& name) {
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (suffix == QLatin1String("wml"))
    return FileKind::Deck;
  if (suffix == QLatin1String("wmlc"))
    return FileKind::CompiledDeck;
  if (suffix == QLatin1String("wmls"))
    return FileKind::Script;
  if (suffix == QLatin1String("wmlsc"))
    return FileKind::CompiledScript;
  static const QStringList pictures{QStringLiteral("wbmp"), QStringLiteral("png"),
                                    QStringLiteral("gif"), QStringLiteral("jpg"),
                                    QStringLiteral("jpeg")};
  if (pictures.contains(suffix))
    return FileKind::Picture;
  return std::nullopt;
}

QList<SiteFinding> checkSite(const Site& site, const SiteOptions& options) {
  return SiteRules(site, options).run();
}

QList<Finding> checkFileInSite(const Site& site, const SiteOptions& options,
                               const FileSummary& file) {
  QList<Finding> findings;
  for (const SiteFinding& found : SiteRules(site, options, &file).run())
    findings.append(found.finding);
  return findings;
}

void sortSiteFindings(QList<SiteFinding>& findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const SiteFinding& a, const SiteFinding& b) {
                     if (a.path != b.path)
                       return a.path < b.path;
                     return a.finding.start < b.finding.start;
                   });
}

} // namespace tessera::wml::site
