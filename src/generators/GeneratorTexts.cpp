#include "generators/GeneratorTexts.h"

#include "document/DefaultDocument.h"

namespace tessera {

namespace {
const QString kBreak = QStringLiteral("\r\n");
}

QString tableText(int columns, int rows) {
  QString text = QStringLiteral("<table columns=\"%1\">").arg(columns) + kBreak;
  for (int row = 1; row <= rows; ++row) {
    text += QStringLiteral("<tr>") + kBreak;
    for (int column = 1; column <= columns; ++column)
      text += QStringLiteral("<td>%1. column, %2. row</td>").arg(column).arg(row) + kBreak;
    text += QStringLiteral("</tr>") + kBreak;
  }
  text += QStringLiteral("</table>") + kBreak;
  return text;
}

QString tablePreviewFileName(int columns, int rows) {
  return QStringLiteral("%1x%2.bmp").arg(columns).arg(rows);
}

// Values are joined with + rather than arg(): a "%1" typed into a field must
// stay as typed.
QString selectListText(const QString& menuName, const QList<MenuItem>& items) {
  QString text = QStringLiteral("<p>") + kBreak + QStringLiteral("<select title=\"") + menuName +
                 QStringLiteral("\">") + kBreak;
  for (const MenuItem& item : items)
    text += QStringLiteral("<option onpick=\"") + item.link + QStringLiteral("\">") + item.name +
            QStringLiteral("</option>") + kBreak;
  text += QStringLiteral("</select>") + kBreak + QStringLiteral("</p>") + kBreak;
  return text;
}

QString sitePageText(const SitePage& page) {
  QString text = pageHeader();
  text += QStringLiteral("<wml>") + kBreak + kBreak;
  text += QStringLiteral("<card title=\"") + page.siteName + QStringLiteral("\" id=\"first\">") +
          kBreak;
  text += QStringLiteral("<p align=\"center\">") + kBreak;
  text += QStringLiteral("<a href=\"") + page.siteAddress + QStringLiteral("\">") + page.siteName +
          QStringLiteral("</a><br/>") + kBreak;
  text += QStringLiteral("<b>") + page.welcomeText + QStringLiteral("</b><br/>") + kBreak;
  text += QStringLiteral("<br/>") + kBreak;
  text += page.body + kBreak;
  text += QStringLiteral("</p>") + kBreak + kBreak;
  text += QStringLiteral("</card>") + kBreak + QStringLiteral("</wml>") + kBreak;
  return text;
}

} // namespace tessera
