#include "FileContentsPrint.h"

#include <QWidget> // Navigator.h needs it complete

#include "Navigator.h"
#include "Paths.h"
#include "Prompts.h"
#include "StoredFiles.h"
#include "TextFile.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace gt {

namespace {

// INTERIM, to be replaced when the shared listing code of the results
// screens is merged: a plain renderer (title, then every line of the file,
// page after page) that only keeps File > Print of the file contents screen
// working until then. It is not the printed listing layout.
bool printPlainly(Prompts &prompts, const QString &path, const QString &title)
{
    QStringList lines;
    QString reason;
    if (!readTextLines(path, &lines, &reason)) {
        prompts.inform(stored::readFailureMessage(QFileInfo(path).fileName(), reason), Prompts::Icon::Warning);
        return false;
    }
    std::unique_ptr<QPrinter> printer = prompts.choosePrinter();
    if (!printer)
        return false;
    QPainter painter;
    if (!painter.begin(printer.get())) {
        prompts.inform(QStringLiteral("The printer could not be used."), Prompts::Icon::Warning);
        return false;
    }
    QFont font = fixedPitchFont();
    font.setPointSize(10);
    QFont bold = font;
    bold.setPointSize(16);
    bold.setBold(true);
    const QRect page = painter.viewport();
    int y = 0;
    auto printLine = [&](const QString &text, const QFont &f) {
        painter.setFont(f);
        const int height = QFontMetrics(f, painter.device()).lineSpacing();
        if (y + height > page.height()) {
            printer->newPage();
            y = 0;
        }
        painter.drawText(0, y + QFontMetrics(f, painter.device()).ascent(), text);
        y += height;
    };
    printLine(title, bold);
    printLine(QString(), font);
    for (const QString &line : std::as_const(lines))
        printLine(line, font);
    return painter.end();
}

} // namespace

bool printFileContents(Prompts &prompts, const QString &path, const QString &title)
{
    // MERGE: point this one call at the shared file contents listing (its
    // builder and renderer in src/results) and delete printPlainly above.
    return printPlainly(prompts, path, title);
}

} // namespace gt
