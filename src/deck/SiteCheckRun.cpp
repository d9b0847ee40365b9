#include "deck/SiteCheckRun.h"

#include "deck/BinaryInspection.h"
#include "deck/CompiledDeckReader.h"
#include "document/EncodingDetection.h"
#include "document/FileReading.h"
#include "wml/site/FileSummaries.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>

namespace tessera {

namespace {

using wml::site::FileKind;
using wml::site::FileSummary;

// Larger than any deck or script a phone takes.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

struct SiteFile {
  QString absolutePath;
  QString sitePath;
  FileKind kind;
  qint64 size = 0;
};

struct Listing {
  QList<SiteFile> files;
  QSet<QString> otherFiles;
};

bool inside(const QString& root, const QString& canonical) {
  return canonical == root || canonical.startsWith(root + u'/');
}

// `chain` holds the folders the walk is in, so a link back to one of them
// ends there instead of going round for ever.
void list(const QString& root, const QDir& dir, const QString& prefix, const QStringList& chain,
          Listing& listing) {
  const QFileInfoList entries =
      dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
  for (const QFileInfo& entry : entries) {
    const QString name = entry.fileName();
    const QString canonical = entry.canonicalFilePath();
    // Hidden files are no part of a site; a link that leads out of the folder
    // (or nowhere) is not followed.
    if (name.startsWith(u'.') || canonical.isEmpty() || !inside(root, canonical))
      continue;
    const QString sitePath = prefix + name;
    if (entry.isDir()) {
      if (!chain.contains(canonical))
        list(root, QDir(entry.absoluteFilePath()), sitePath + u'/', chain + QStringList{canonical},
             listing);
    } else if (entry.isFile()) {
      if (const auto kind = wml::site::fileKindOf(name))
        listing.files.append({entry.absoluteFilePath(), sitePath, *kind, entry.size()});
      else
        listing.otherFiles.insert(sitePath);
    }
  }
}

QString readText(const SiteFile& file, const SiteCheckRequest& request, QString& problem) {
  const auto unsaved = request.unsavedTexts.constFind(file.absolutePath);
  if (unsaved != request.unsavedTexts.constEnd())
    return *unsaved;
  FileReadResult read = readAtMost(file.absolutePath, kLargestFile);
  if (read.status != FileReadResult::Read) {
    problem = read.status == FileReadResult::TooLarge
                  ? QStringLiteral("The file is too large to be a deck or a script.")
                  : QStringLiteral("The file cannot be read: %1.").arg(read.reason);
    return {};
  }
  // Decoded as the editor opens it; lines are counted by LF.
  QString text = decodeFile(read.bytes).text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

FileSummary summariseText(const SiteFile& file, const SiteCheckRequest& request) {
  QString problem;
  const QString text = readText(file, request, problem);
  if (!problem.isEmpty())
    return wml::site::unreadableFile(file.sitePath, file.kind, problem);
  if (file.kind == FileKind::Deck)
    return wml::site::summariseDeck(file.sitePath, text, file.absolutePath, request.budget);
  return wml::site::summariseScript(file.sitePath, text);
}

QString counted(int count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

QString SiteCheckResult::summary() const {
  int errors = 0, warnings = 0, notes = 0;
  for (const wml::site::SiteFinding& found : findings)
    (found.finding.severity == wml::Severity::Error     ? errors
     : found.finding.severity == wml::Severity::Warning ? warnings
                                                        : notes)++;
  return QStringLiteral("Checked %1 (%2, %3, %4): %5, %6, %7.")
      .arg(counted(fileCount(), "file", "files"), counted(decks, "deck", "decks"),
           counted(scripts, "script", "scripts"), counted(pictures, "picture", "pictures"),
           counted(errors, "error", "errors"), counted(warnings, "warning", "warnings"),
           counted(notes, "note", "notes"));
}

QString CheckedSite::sitePathOf(const QString& filePath) const {
  if (filePath.isEmpty())
    return {};
  const auto kind = wml::site::fileKindOf(filePath);
  if (kind != FileKind::Deck && kind != FileKind::Script)
    return {};
  // The site's walk named its files from the folder as given; a file
  // reached another way (through a link) is named from the real folder.
  const QFileInfo file(filePath);
  QString path = QDir(folder).relativeFilePath(QDir::cleanPath(file.absoluteFilePath()));
  if (path.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(path)) {
    const QString real = file.canonicalFilePath();
    if (real.isEmpty() || canonical.isEmpty())
      return {};
    path = QDir(canonical).relativeFilePath(real);
  }
  if (path.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(path))
    return {};
  // Hidden files are no part of a site.
  const QStringList parts = path.split(u'/');
  for (const QString& part : parts)
    if (part.startsWith(u'.'))
      return {};
  return path;
}

SiteCheckResult checkSiteFolder(const SiteCheckRequest& request) {
  SiteCheckResult result;
  const QFileInfo folder(request.folder);
  result.folder = folder.absoluteFilePath();
  const QString root = folder.canonicalFilePath();
  if (root.isEmpty() || !folder.isDir() || !folder.isReadable()) {
    result.error = QStringLiteral("not a folder that can be read");
    return result;
  }
  Listing listing;
  list(root, QDir(root), QString(), {root}, listing);

  QList<SiteFile> texts;
  QStringList binaries;
  QHash<QString, const SiteFile*> binaryFiles;
  for (const SiteFile& file : std::as_const(listing.files)) {
    (file.kind == FileKind::Deck || file.kind == FileKind::CompiledDeck ? result.decks
     : file.kind == FileKind::Picture                                   ? result.pictures
                                                                        : result.scripts)++;
    if (file.kind == FileKind::Deck || file.kind == FileKind::Script) {
      texts.append(file);
    } else {
      binaries.append(file.absolutePath);
      binaryFiles.insert(file.absolutePath, &file);
    }
  }
  // The binary files go to a child while the texts are read on both cores.
  const QString program = request.decoderProgram.isEmpty() ? CompiledDeckReader::defaultProgram()
                                                           : request.decoderProgram;
  QFuture<QHash<QString, QJsonObject>> inspected =
      QtConcurrent::run([program, binaries] { return inspectInChildren(program, binaries); });
  wml::site::Site site;
  site.files = QtConcurrent::blockingMapped<QList<FileSummary>>(
      texts, [&request](const SiteFile& file) { return summariseText(file, request); });
  site.otherFiles = std::move(listing.otherFiles);
  const QHash<QString, QJsonObject> found = inspected.result();
  for (const QString& path : std::as_const(binaries)) {
    const SiteFile& file = *binaryFiles.value(path);
    site.files.append(summaryFromInspection(file.sitePath, file.kind, found.value(path),
                                            int(file.size), request.budget));
  }
  result.findings = wml::site::checkSite(site, request.options);
  result.checked = std::make_shared<const CheckedSite>(
      CheckedSite{result.folder, root, std::move(site), request.options});
  return result;
}

} // namespace tessera
