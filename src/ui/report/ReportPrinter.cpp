#include "ui/report/ReportPrinter.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <array>

#include "report/ReportPagination.h"
#include "report/ReportTable.h"
#include "ui/common/UiText.h"
#include "ui/report/ReportTexts.h"

namespace orvane::ui {

namespace {

QFont fontOf(const char* family, int points) {
  QFont font(QString::fromLatin1(family), points);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QString cellText(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

struct ReportPrinter::Layout {
  QFont tableFont = fontOf("Arial", 8);
  QFont headingFont = fontOf("Arial", 12);
  QFont footerFont = fontOf("Times New Roman", 6);
  QRect page;
  int rowHeight = 0;
  int headingHeight = 0;
  int footerHeight = 0;
  int perPage = 1;
  int pages = 1;
  std::array<int, ReportTable::kColumns + 1> edges{};  // left edge of each column, then the right edge
};

ReportPrinter::ReportPrinter(const ReportTable& table, ReportHeading heading)
    : table_(table), heading_(std::move(heading)) {}

// A row is as high as the table font's line plus a little air, so Chinese
// texts and descenders are never cut.
ReportPrinter::Layout ReportPrinter::layOut(QPrinter& printer) const {
  Layout l;
  l.page = QRect(0, 0, printer.width(), printer.height());
  l.rowHeight = QFontMetrics(l.tableFont, &printer).height() + 4;
  l.headingHeight = QFontMetrics(l.headingFont, &printer).height() * 3;
  l.footerHeight = QFontMetrics(l.footerFont, &printer).height() * 2;
  const int tableHeight = l.page.height() - l.headingHeight - l.footerHeight;
  l.perPage = ReportPagination::rowsPerPage(tableHeight, l.rowHeight);
  l.pages = ReportPagination::pageCount(ReportTable::kRows, l.perPage);
  const int total = ReportTexts::kTypeWidth + (ReportTable::kColumns - 1) * ReportTexts::kChannelWidth;
  int units = 0;
  for (int column = 0; column <= ReportTable::kColumns; ++column) {
    l.edges[static_cast<std::size_t>(column)] =
        static_cast<int>(static_cast<long long>(units) * l.page.width() / total);
    units += column == 0 ? ReportTexts::kTypeWidth : ReportTexts::kChannelWidth;
  }
  return l;
}

int ReportPrinter::pageCount(QPrinter& printer) const {
  return layOut(printer).pages;
}

bool ReportPrinter::print(QPrinter& printer) const {
  printer.setDocName(uiText(ReportTexts::kJobName).arg(heading_.program));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const Layout l = layOut(printer);
  const int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
  const int last = printer.toPage() > 0 ? std::min(printer.toPage(), l.pages) : l.pages;
  const QString printed = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
  for (int page = first; page <= last; ++page) {
    if (page != first) printer.newPage();
    // Heading: what the report is, for which program, and when.
    painter.setFont(l.headingFont);
    const QRect heading(l.page.left(), l.page.top(), l.page.width(), l.headingHeight);
    const QString title = uiText(ReportTexts::kHeading) + QLatin1Char('\n') +
                          uiText(ReportTexts::kProgramLine).arg(heading_.program, heading_.number, printed);
    painter.drawText(heading, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, title);
    painter.drawText(heading, Qt::AlignRight | Qt::AlignTop,
                     uiText(ReportTexts::kPageOf).arg(page).arg(l.pages));
    // The captions, then this page's rows, each cell boxed.
    painter.setFont(l.tableFont);
    const int firstRow = (page - 1) * l.perPage;
    const int rows = std::min(l.perPage, ReportTable::kRows - firstRow);
    for (int line = 0; line <= rows; ++line) {
      const int top = heading.bottom() + line * (l.rowHeight + 1);
      for (int column = 0; column < ReportTable::kColumns; ++column) {
        const int left = l.edges[static_cast<std::size_t>(column)];
        const QRect cell(left, top, l.edges[static_cast<std::size_t>(column) + 1] - left, l.rowHeight);
        painter.drawRect(cell);
        const QString text =
            line == 0 ? QString::fromLatin1(ReportTable::caption(column).data(),
                                            static_cast<qsizetype>(ReportTable::caption(column).size()))
                      : cellText(table_.cell(firstRow + line - 1, column));
        painter.drawText(cell, Qt::AlignCenter, text);
      }
    }
    // Footer: the device the report came from.
    painter.setFont(l.footerFont);
    const QRect footer(l.page.left(), l.page.bottom() - l.footerHeight, l.page.width(), l.footerHeight);
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
                     uiText(ReportTexts::kFooter).arg(heading_.link, heading_.deviceId));
  }
  return painter.end();
}

}  // namespace orvane::ui
