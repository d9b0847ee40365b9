#pragma once

#include <QByteArray>
#include <QString>

struct _xmlNode;

namespace tessera::wml {

// One error or warning as libxml2 raised it, kept with the fields the
// checker needs to word it and place it.
struct LibxmlReport {
  int domain = 0;
  int code = 0;
  int level = 0;                  // xmlErrorLevel
  const _xmlNode* node = nullptr; // the element concerned, when known
  int line = 0;                   // as libxml2 counts
  int column = 0;
  int number = 0;              // the line libxml2 quotes (an open tag's)
  QByteArray str1, str2, str3; // the names and values libxml2 quotes
  QString message;             // libxml2's own wording, trimmed
};

} // namespace tessera::wml
