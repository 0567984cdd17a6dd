#include "ListingPrinter.h"

#include "Navigator.h"
#include "Prompts.h"
#include "ResultsFile.h"
#include "WorkAside.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QWidget> // Navigator.h holds a QPointer<QWidget>

#include <algorithm>
#include <map>

namespace gt::results {

namespace {

// The listing's face where the printer's system has it, else one of the
// same kind: fixed-pitch for "courier", sans-serif for "arial".
QFont listingFont(Listing::Face face)
{
    if (face == Listing::Face::Arial) {
        QFont font(QStringLiteral("Arial"));
        font.setStyleHint(QFont::SansSerif);
        return font;
    }
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
        font = fixedPitchFont();
    return font;
}

QString expandTabs(const QString &text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('\t'))
            out += QString(8 - out.size() % 8, QLatin1Char(' '));
        else
            out += c;
    }
    return out;
}

// The pieces of a line as printed: a line wider than the page goes on over
// as many printed lines as it needs.
QStringList wrapFixed(const QString &text, int columns)
{
    if (columns < 1 || text.size() <= columns)
        return {text};
    QStringList pieces;
    for (qsizetype at = 0; at < text.size(); at += columns)
        pieces.append(text.mid(at, columns));
    return pieces;
}

QStringList wrapProportional(const QString &text, const QFontMetricsF &fm, qreal width)
{
    if (fm.horizontalAdvance(text) <= width)
        return {text};
    QStringList pieces;
    QString current;
    for (const QString &word : text.split(QLatin1Char(' '))) {
        const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (fm.horizontalAdvance(joined) <= width || current.isEmpty()) {
            current = joined;
        } else {
            pieces.append(current);
            current = word;
        }
        // A single word wider than the page is cut where it must be.
        while (fm.horizontalAdvance(current) > width && current.size() > 1) {
            qsizetype n = current.size() - 1;
            while (n > 1 && fm.horizontalAdvance(current.left(n)) > width)
                --n;
            pieces.append(current.left(n));
            current = current.mid(n);
        }
    }
    pieces.append(current);
    return pieces;
}

// Each run of non-blank characters at its own column, so that columns stay
// exact whatever the face's bold or regular widths do.
void drawAtColumns(QPainter &painter, const QString &text, qreal cell, qreal baseline)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text.at(i) == QLatin1Char(' '))
            ++i;
        const qsizetype start = i;
        while (i < n && text.at(i) != QLatin1Char(' '))
            ++i;
        if (i > start)
            painter.drawText(QPointF(start * cell, baseline), text.mid(start, i - start));
    }
}

QString destination(const QPrinter &printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName()
                                              : QDir::toNativeSeparators(printer.outputFileName());
}

// Why a printer could not be used: for output to a file, the system's
// reason for that file.
QString printerProblem(const QPrinter &printer)
{
    QString reason = QStringLiteral("The printer did not accept the listing.");
    const QString file = printer.outputFileName();
    if (!file.isEmpty()) {
        QFile probe(file);
        const bool existed = probe.exists();
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            reason = probe.errorString();
        } else {
            probe.close();
            if (!existed)
                probe.remove();
        }
    }
    return QStringLiteral("The listing could not be printed on %1:\r\n%2").arg(destination(printer), reason);
}

struct Style
{
    QFont font;
    qreal cell = 0;    // width of one character column
    qreal ascent = 0;
    qreal spacing = 0; // from one line to the next
};

} // namespace

QString renderListing(const Listing &listing, QPrinter &printer)
{
    if (listing.highestQuality) {
        // Only ever upwards: PDF output names 72 dpi as its one resolution
        // while it already draws at 1200.
        const QList<int> resolutions = printer.supportedResolutions();
        const int best = resolutions.isEmpty() ? 0 : *std::max_element(resolutions.cbegin(), resolutions.cend());
        if (best > printer.resolution())
            printer.setResolution(best);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return printerProblem(printer);

    const QFont base = listingFont(listing.face);
    const bool columns = listing.face == Listing::Face::Courier;
    const qreal width = printer.width();
    const qreal height = printer.height();
    std::map<std::pair<int, bool>, Style> styles;
    auto styleOf = [&](const ListingLine &line) -> const Style & {
        auto it = styles.find({line.pointSize, line.bold});
        if (it == styles.end()) {
            Style s;
            s.font = base;
            s.font.setPointSize(line.pointSize);
            s.font.setBold(line.bold);
            QFont regular = s.font;
            regular.setBold(false);
            const QFontMetricsF fm(s.font, &printer);
            // Columns are those of the regular face, bold lines included.
            s.cell = QFontMetricsF(regular, &printer).horizontalAdvance(QLatin1Char('0'));
            s.ascent = fm.ascent();
            s.spacing = fm.lineSpacing();
            it = styles.emplace(std::make_pair(line.pointSize, line.bold), s).first;
        }
        return it->second;
    };

    qreal y = 0;
    bool paged = true;
    const auto draw = [&](const ListingLine &line) {
        const Style &style = styleOf(line);
        painter.setFont(style.font);
        const QString text = expandTabs(line.text);
        const QStringList pieces = columns ? wrapFixed(text, int(width / style.cell))
                                           : wrapProportional(text, QFontMetricsF(style.font, &printer), width);
        for (const QString &piece : pieces) {
            if (y > 0 && y + style.spacing > height) {
                if (!printer.newPage())
                    return paged = false;
                y = 0;
            }
            if (columns)
                drawAtColumns(painter, piece, style.cell, y + style.ascent);
            else if (!piece.isEmpty())
                painter.drawText(QPointF(0, y + style.ascent), piece);
            y += style.spacing;
        }
        return true;
    };
    for (const ListingLine &line : listing.lines) {
        if (!draw(line))
            return printerProblem(printer);
    }
    QString problem;
    if (listing.body && !listing.body(draw, &problem)) {
        painter.end();
        return problem;
    }
    if (!paged)
        return printerProblem(printer);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return printerProblem(printer);
    return QString();
}

bool printListing(Prompts &prompts, const ListingBuilder &build)
{
    const std::unique_ptr<QPrinter> printer = prompts.choosePrinter();
    if (!printer)
        return false;
    QString problem;
    const Listing listing = build(&problem);
    // Hundreds of pages take seconds: they are drawn aside (a printer may
    // be painted on from another thread), while records go on arriving.
    if (problem.isEmpty())
        runAside([&] { problem = renderListing(listing, *printer); });
    if (problem.isEmpty())
        return true;
    prompts.inform(problem, Prompts::Icon::Warning);
    return false;
}

bool printListing(Prompts &prompts, const Listing &listing)
{
    return printListing(prompts, [&listing](QString *) { return listing; });
}

} // namespace gt::results
