#include "tools/NavigationBuilders.h"

#include "tools/InlineBuilders.h"

namespace tessera {

Insertion doElement(const QString& type, const QString& label, const QString& url) {
  return {QStringLiteral("<do type=\"") + type + QStringLiteral("\" label=\"") + label +
              QStringLiteral("\">\r\n<go href=\"") + url + QStringLiteral("\"/>\r\n</do>"),
          0, false};
}

QStringList defaultDoTypes() {
  return {QStringLiteral("accept"),  QStringLiteral("delete"), QStringLiteral("help"),
          QStringLiteral("options"), QStringLiteral("prev"),   QStringLiteral("reset"),
          QStringLiteral("x-*"),     QStringLiteral("vnd.*")};
}

bool containsDoType(const QStringList& types, const QString& type) {
  return types.contains(type, Qt::CaseInsensitive);
}

Insertion backButtonTemplate() {
  return {QStringLiteral("<template>\r\n<do type=\"prev\" label=\"Back\">\r\n<prev/>\r\n</do>\r\n"
                         "</template>"),
          0, false};
}

Insertion templateSkeleton() {
  // Back by 44 from the end lands right after `type="`.
  return {QStringLiteral("<template>\r\n<do type=\"\" label=\"\"><go href=\"\"/>\r\n</do>\r\n"
                         "</template>"),
          44, true};
}

Insertion paragraphTool(const QString& selected) {
  return wrapElement(QStringLiteral("p"), selected);
}

Insertion refreshTool(const QString& selected) {
  return wrapElement(QStringLiteral("refresh"), selected);
}

Insertion headTool(const QString& selected) {
  return wrapElement(QStringLiteral("head"), selected);
}

} // namespace tessera
