#include "app/help/TextPrinter.h"

#include "framework/QtText.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cstdint>

namespace klt {
namespace {

constexpr int kLineLimit = 1024; // characters of a line that are printed
constexpr int kTabColumns = 8;   // the width of a tab in average character widths
constexpr int kPointSize = 10;

// Draws the line with its baseline at y, its tabs jumping to the next multiple of tabWidth counted
// from the left edge of the printable area (not from x).
void DrawTabbedLine(QPainter& painter, int x, int y, const QString& line, int tabWidth) {
    const QStringList parts = line.split(QLatin1Char('\t'));
    int position = x;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            position = tabWidth > 0 ? (position / tabWidth + 1) * tabWidth : position;
        }
        painter.drawText(position, y, parts[i]);
        position += painter.fontMetrics().horizontalAdvance(parts[i]);
    }
}

} // namespace

bool PrintLines(QPrinter& printer, const std::string& docName, const std::vector<std::string>& lines) {
    printer.setDocName(ToQString(docName));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kPointSize);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = std::max(1, metrics.height() + std::max(0, metrics.leading()));
    const int tabWidth = static_cast<int16_t>(kTabColumns * metrics.averageCharWidth());
    const int dpiX = printer.logicalDpiX();
    const int dpiY = printer.logicalDpiY();
    // A page too small for the margins still takes one line, so that every line is printed.
    const int linesPerPage = std::max(1, (printer.height() - 2 * dpiY) / lineHeight);
    const int x = dpiX * 3 / 4;

    int y = dpiY;
    int onPage = 0;
    for (const std::string& bytes : lines) {
        if (onPage == linesPerPage) {
            printer.newPage();
            // The spooler takes its time; the windows go on answering meanwhile.
            QCoreApplication::processEvents();
            y = dpiY;
            onPage = 0;
        }
        DrawTabbedLine(painter, x, y + metrics.ascent(), ToQString(bytes).left(kLineLimit), tabWidth);
        y += lineHeight;
        ++onPage;
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace klt
