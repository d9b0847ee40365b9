#pragma once

#include "serve/HttpServer.h"

#include <QAbstractTableModel>
#include <QList>

namespace tessera::serve {

// The requests a server answered, newest last, as a table: time, client,
// method, path, what the client accepts, status, bytes, compiled or not.
// The oldest rows go beyond a bound, so a long session cannot fill memory.
class RequestLog : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { Time, Client, Method, Path, Accepts, Status, Bytes, Compiled, ColumnCount };

  explicit RequestLog(int capacity = 10000, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  void append(const RequestRecord& record);
  // The same from a server thread: the row is added on the log's own thread.
  void post(const RequestRecord& record);
  void clear();
  const RequestRecord& record(int row) const { return records_.at(row); }

private:
  const int capacity_;
  QList<RequestRecord> records_;
};

// One request as a line of the command line's log:
// "12:01:02 127.0.0.1 GET /index.wml 200 312 compiled [accept]".
QString logLine(const RequestRecord& record);

} // namespace tessera::serve
