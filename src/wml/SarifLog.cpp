#include "wml/SarifLog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QUrl>

namespace tessera::wml {

namespace {

QJsonObject location(const PlacedFinding& placed) {
  const Finding& finding = placed.finding;
  QJsonObject physical{
      {QStringLiteral("artifactLocation"),
       QJsonObject{
           {QStringLiteral("uri"), QString::fromUtf8(QUrl::toPercentEncoding(placed.file, "/"))}}}};
  if (finding.start.known()) {
    // A finding that knows only its start covers one character there.
    const LineColumn start{finding.start.line, std::max(finding.start.column, 1)};
    const LineColumn end =
        finding.hasEnd() ? finding.end : LineColumn{start.line, start.column + 1};
    physical.insert(QStringLiteral("region"),
                    QJsonObject{{QStringLiteral("startLine"), start.line},
                                {QStringLiteral("startColumn"), start.column},
                                {QStringLiteral("endLine"), end.line},
                                {QStringLiteral("endColumn"), end.column}});
  }
  return {{QStringLiteral("physicalLocation"), physical}};
}

} // namespace

QString sarifLevel(Severity severity) { return severityName(severity); }

QByteArray sarifLog(const QList<PlacedFinding>& findings, const SarifTool& tool) {
  // Rules listed once each, by name; results point at them by index too.
  QMap<QString, int> ruleIndex;
  for (const PlacedFinding& placed : findings)
    ruleIndex.insert(placed.finding.rule, 0);
  QJsonArray rules;
  int index = 0;
  for (auto rule = ruleIndex.begin(); rule != ruleIndex.end(); ++rule, ++index) {
    rule.value() = index;
    rules.append(QJsonObject{{QStringLiteral("id"), rule.key()}});
  }
  QJsonArray results;
  for (const PlacedFinding& placed : findings)
    results.append(QJsonObject{
        {QStringLiteral("ruleId"), placed.finding.rule},
        {QStringLiteral("ruleIndex"), ruleIndex.value(placed.finding.rule)},
        {QStringLiteral("level"), sarifLevel(placed.finding.severity)},
        {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), placed.finding.message}}},
        {QStringLiteral("locations"), QJsonArray{location(placed)}}});
  const QJsonObject driver{{QStringLiteral("name"), tool.name},
                           {QStringLiteral("version"), tool.version},
                           {QStringLiteral("informationUri"), tool.informationUri},
                           {QStringLiteral("rules"), rules}};
  const QJsonObject run{{QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
                        {QStringLiteral("results"), results}};
  const QJsonObject log{
      {QStringLiteral("$schema"), QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
      {QStringLiteral("version"), QStringLiteral("2.1.0")},
      {QStringLiteral("runs"), QJsonArray{run}}};
  return QJsonDocument(log).toJson(QJsonDocument::Indented);
}

} // namespace tessera::wml
