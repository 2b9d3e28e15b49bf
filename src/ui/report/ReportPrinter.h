#pragma once

// Prints the report: 10 mm margins; on each page a heading with the program
// and the date, the page number, the column captions in boxed cells, as many
// rows as fit, and a footer naming the device link. The columns keep the
// proportions of the report window and fill the printable width.

#include <QString>

class QPrinter;

namespace orvane {
class ReportTable;
}

namespace orvane::ui {

struct ReportHeading {
  QString program;  // program name
  QString number;   // program number, or "PC"
  QString link;     // how the device is reached
  QString deviceId;
};

class ReportPrinter {
 public:
  ReportPrinter(const ReportTable& table, ReportHeading heading);

  // Prints the pages the printer's range names (all when none); false when
  // the print job could not start.
  bool print(QPrinter& printer) const;
  // Pages of the report on `printer`.
  int pageCount(QPrinter& printer) const;

 private:
  struct Layout;
  Layout layOut(QPrinter& printer) const;

  const ReportTable& table_;
  ReportHeading heading_;
};

}  // namespace orvane::ui
