#pragma once

// The parameter report window: every parameter of the working state in one
// table, rows coloured by kind of parameter, with buttons to print it and to
// export it as a spreadsheet.

#include <QDialog>

#include "report/ReportTable.h"
#include "ui/report/ReportPrinter.h"

class QPrinter;
class QPushButton;
class QTableWidget;

namespace orvane::ui {

class DataViewDlg : public QDialog {
  Q_OBJECT

 public:
  DataViewDlg(ReportTable table, ReportHeading heading, QWidget* parent = nullptr);

  QTableWidget* list() const { return list_; }
  QPushButton* printButton() const { return print_; }
  QPushButton* exportButton() const { return export_; }

  // What the buttons do once the desktop's dialog gave a printer or a path.
  bool printOn(QPrinter& printer);
  bool exportTo(const QString& path);

 private:
  void fillList();
  void onPrint();
  void onExport();

  ReportTable table_;
  ReportHeading heading_;
  QTableWidget* list_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* export_ = nullptr;
};

}  // namespace orvane::ui
