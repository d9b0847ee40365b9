#pragma once

// Where a link of a site file points: the phone resolves it against the
// deck's own address, so a site on a server and the folder agree.

#include "wml/site/SiteModel.h"

#include <QString>

namespace tessera::wml::site {

struct LinkTarget {
  enum class Kind {
    SameDeck, // "#card"
    InSite,   // a file of the site, by a relative or a root-relative path
    Outside,  // a path above the site's folder
    Elsewhere // another scheme or host, or a variable filled in at run time
  };
  Kind kind = Kind::Elsewhere;
  QString path;     // InSite: relative to the site, '/'-separated, decoded
  QString fragment; // after '#', still escaped as written
  bool rootRelative = false;
};

LinkTarget resolveLink(const QString& fromPath, const QString& link);

// The address a deck of the site has when served from this machine:
// "http://localhost/" and its path.
QString localAddress(const QString& path);

// Whether a script's access pragma lets a deck at `callerPath` call the
// script at `scriptPath`: the domain matched by whole labels from the right,
// the path by whole segments from the left (a relative one taken from the
// script's folder); without a pragma, any deck may.
bool accessAllows(const std::optional<ScriptAccess>& access, const QString& scriptPath,
                  const QString& callerPath);

} // namespace tessera::wml::site
