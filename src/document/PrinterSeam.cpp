#include "document/PrinterSeam.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tessera {

QString SystemPrinter::defaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

PrintStatus SystemPrinter::print(const QString& printerName, const QString& jobName,
                                 const PageLayout& layout) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(printerName);
  if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat ||
      printer.printerName() != printerName)
    return PrintStatus::InvalidPrinter;
  printer.setDocName(jobName);
  printer.setFullPage(false); // the origin is the printable area's corner

  QPainter painter;
  if (!painter.begin(&printer))
    return PrintStatus::DeviceError;
  // The canvas's own default font, only kept from joining letters into
  // ligatures: a source listing shows every character as typed.
  QFont font = painter.font();
  font.setStyleStrategy(QFont::PreferNoShaping);
  painter.setFont(font);
  const QFontMetrics metrics = painter.fontMetrics();
  const FontMeasure measure(metrics);
  const QSize area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
  const QList<PrintedPage> pages = layout(measure, area);

  bool ok = true;
  for (qsizetype p = 0; p < pages.size() && ok; ++p) {
    if (p > 0 && !printer.newPage()) {
      ok = false;
      break;
    }
    for (const PlacedText& piece : pages[p].texts)
      painter.drawText(piece.topLeft + QPoint(0, metrics.ascent()), piece.text);
  }
  // Closing sends what was painted, even after a failure.
  if (!painter.end())
    ok = false;
  return ok ? PrintStatus::Printed : PrintStatus::DeviceError;
}

} // namespace tessera
