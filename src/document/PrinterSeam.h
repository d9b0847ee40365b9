#pragma once

#include "document/PrintLayout.h"

#include <functional>

// The printer as the print command sees it, so tests can stand in for a
// machine without printers or with a failing one.
namespace tessera {

enum class PrintStatus { Printed, InvalidPrinter, DeviceError };

// Lays a listing out for the device's font and printable area.
using PageLayout = std::function<QList<PrintedPage>(const TextMeasure&, QSize)>;

class PrinterSeam {
public:
  virtual ~PrinterSeam() = default;
  // The system's default printer; empty when none is installed.
  virtual QString defaultPrinterName() = 0;
  // One job on `printer`: asks `layout` for the pages with the device's
  // own font and printable area, paints them and closes the job, also
  // when painting failed part-way.
  virtual PrintStatus print(const QString& printer, const QString& jobName,
                            const PageLayout& layout) = 0;
};

// The desktop's printers through Qt's print support.
class SystemPrinter : public PrinterSeam {
public:
  QString defaultPrinterName() override;
  PrintStatus print(const QString& printer, const QString& jobName,
                    const PageLayout& layout) override;
};

} // namespace tessera
