#include "serve/RequestLog.h"

#include <QUrl>

namespace tessera::serve {

RequestLog::RequestLog(int capacity, QObject* parent)
    : QAbstractTableModel(parent), capacity_(capacity) {}

int RequestLog::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(records_.size());
}

int RequestLog::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant RequestLog::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= records_.size())
    return {};
  const RequestRecord& record = records_.at(index.row());
  if (role == Qt::TextAlignmentRole && (index.column() == Status || index.column() == Bytes))
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
    return {};
  switch (Column(index.column())) {
  case Time: return record.time.toString(QStringLiteral("HH:mm:ss"));
  case Client: return record.client;
  case Method: return QString::fromLatin1(record.method);
  case Path: return record.path;
  case Accepts: return QString::fromLatin1(record.accept);
  case Status: return record.status;
  case Bytes: return record.bytes;
  case Compiled: return record.compiled ? QStringLiteral("compiled") : QString();
  case ColumnCount: break;
  }
  return {};
}

QVariant RequestLog::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  static const QStringList names{QStringLiteral("Time"),    QStringLiteral("Client"),
                                 QStringLiteral("Method"),  QStringLiteral("Path"),
                                 QStringLiteral("Accepts"), QStringLiteral("Status"),
                                 QStringLiteral("Bytes"),   QStringLiteral("Compiled")};
  return names.value(section);
}

void RequestLog::append(const RequestRecord& record) {
  if (records_.size() >= capacity_) {
    beginRemoveRows({}, 0, 0);
    records_.removeFirst();
    endRemoveRows();
  }
  const int row = int(records_.size());
  beginInsertRows({}, row, row);
  records_.append(record);
  endInsertRows();
}

void RequestLog::post(const RequestRecord& record) {
  QMetaObject::invokeMethod(
      this, [this, record] { append(record); }, Qt::QueuedConnection);
}

void RequestLog::clear() {
  beginResetModel();
  records_.clear();
  endResetModel();
}

QString logLine(const RequestRecord& record) {
  // One arg() call: an encoded path holds '%' followed by digits, which a
  // later arg() would take for a place of its own.
  QString line = QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(record.time.toString(QStringLiteral("HH:mm:ss")), record.client,
                          QString::fromLatin1(record.method),
                          // Encoded, so that no path can write a line of its own.
                          QString::fromLatin1(QUrl::toPercentEncoding(record.path, "/")),
                          QString::number(record.status), QString::number(record.bytes));
  if (record.compiled)
    line += QStringLiteral(" compiled");
  if (!record.accept.isEmpty())
    line += QStringLiteral(" [%1]").arg(
        QString::fromLatin1(QUrl::toPercentEncoding(record.accept, " ,;=*/+.-")));
  return line;
}

} // namespace tessera::serve
