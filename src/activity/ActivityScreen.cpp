#include "ActivityScreen.h"

#include "NamedWidgets.h"
#include "Prompts.h"
#include "RecordLine.h"
#include "State.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace gt {

namespace {

QChartView *makeChart(QWidget *parent, const QString &name, const QString &title)
{
    auto *chart = new QChart;
    // The charts follow the palette, so a dark desktop gets no white panels.
    if (parent->palette().color(QPalette::Window).lightness() < 128)
        chart->setTheme(QChart::ChartThemeDark);
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    auto *view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 300);
    return view;
}

// The bars of one chart: a stack a category, VALID at the bottom.
void fill(QChart *chart, const QStringList &categories, const QList<activity::StatusCounts> &values,
          bool narrow = false)
{
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    auto *series = new QStackedBarSeries;
    struct Part
    {
        const char *label;
        QColor colour;
        int activity::StatusCounts::*field;
    };
    // Colours kept apart in lightness too, so the stacks read in grey.
    const Part parts[] = {{"VALID", QColor(0x3a, 0x7d, 0x3a), &activity::StatusCounts::valid},
                          {"NOT VALID", QColor(0xc0, 0x20, 0x20), &activity::StatusCounts::notValid},
                          {"OFF", QColor(0xe0, 0xa0, 0x30), &activity::StatusCounts::off},
                          {"Other", QColor(0x60, 0x60, 0x60), &activity::StatusCounts::other}};
    int highest = 0;
    for (const activity::StatusCounts &v : values)
        highest = qMax(highest, v.total());
    for (const Part &p : parts) {
        auto *set = new QBarSet(QString::fromLatin1(p.label));
        set->setColor(p.colour);
        set->setBorderColor(p.colour);
        for (const activity::StatusCounts &v : values)
            *set << v.*(p.field);
        series->append(set);
    }
    chart->addSeries(series);
    auto *x = new QBarCategoryAxis;
    x->append(categories);
    if (narrow) {
        QFont small = x->labelsFont();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        x->setLabelsFont(small);
    }
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto *y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%d"));
    y->setRange(0, qMax(highest, 4));
    y->applyNiceNumbers();
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
}

} // namespace

ActivityScreen::ActivityScreen(Source source, GatetallyState &state, Prompts &prompts, QWidget *parent)
    : QWidget(parent), m_state(state), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmActivity"));
    setWindowTitle(source == Source::Display
                       ? QStringLiteral("Activity")
                       : QStringLiteral("Activity - %1").arg(QFileInfo(state.strOpenFile).fileName()));
    lblSummary = namedLabel(this, QStringLiteral("lblSummary"), QString());
    chtHours = makeChart(this, QStringLiteral("chtHours"), QStringLiteral("Records per hour, last 24 hours"));
    chtEntries = makeChart(this, QStringLiteral("chtEntries"), QStringLiteral("Records per entry point"));
    cmdSavePicture = namedButton(this, QStringLiteral("cmdSavePicture"), QStringLiteral("Save Picture"),
                                 QStringLiteral("Saves these charts as a PNG picture"));
    cmdClose = namedButton(this, QStringLiteral("cmdClose"), QStringLiteral("Close"),
                           QStringLiteral("Closes the activity view"));

    auto *charts = new QHBoxLayout;
    charts->addWidget(chtHours, 2);
    charts->addWidget(chtEntries, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblSummary, 1);
    buttons->addWidget(cmdSavePicture);
    buttons->addWidget(cmdClose);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(charts, 1);
    outer->addLayout(buttons);
    resize(1200, 500);

    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdSavePicture, &QPushButton::clicked, this, &ActivityScreen::savePicture);

    tmrFollow = new QTimer(this);
    tmrFollow->setObjectName(QStringLiteral("tmrFollow"));
    tmrFollow->setSingleShot(true);
    tmrFollow->setInterval(kFollowMs);

    if (source == Source::Display) {
        // Any change of the display starts the timer unless it already runs,
        // so a burst of records is drawn once, a second after it began.
        connect(tmrFollow, &QTimer::timeout, this, &ActivityScreen::countDisplay);
        m_nextHour = new QTimer(this);
        m_nextHour->setSingleShot(true);
        connect(m_nextHour, &QTimer::timeout, this, &ActivityScreen::countDisplay);
        auto follow = [this] {
            if (!tmrFollow->isActive())
                tmrFollow->start();
        };
        connect(&m_state.strRecords, &QAbstractItemModel::rowsInserted, this, follow);
        connect(&m_state.strRecords, &QAbstractItemModel::rowsRemoved, this, follow);
        connect(&m_state.strRecords, &QAbstractItemModel::modelReset, this, follow);
        countDisplay();
        return;
    }

    lblSummary->setText(QStringLiteral("Counting the records of %1 ...").arg(QDir::toNativeSeparators(state.strOpenFile)));
    cmdSavePicture->setEnabled(false);
    connect(&m_watcher, &QFutureWatcher<FileResult>::finished, this, [this] {
        const FileResult r = m_watcher.result();
        m_ready = true;
        if (!r.ok) {
            lblSummary->setText(QStringLiteral("%1 could not be read: %2")
                                    .arg(QDir::toNativeSeparators(m_state.strOpenFile), r.error));
            Q_EMIT countsChanged();
            return;
        }
        cmdSavePicture->setEnabled(true);
        show(r.counts);
    });
    const QString path = state.strOpenFile;
    m_watcher.setFuture(QtConcurrent::run([path] {
        FileResult r;
        r.ok = activity::countFile(path, &r.counts, &r.error);
        return r;
    }));
}

// Closed while counting, the screen does not wait for the worker: the GUI
// thread must stay free for the serial line. The worker holds only its own
// copy of the path, and the watcher going with the screen drops the result.
ActivityScreen::~ActivityScreen() = default;

void ActivityScreen::countDisplay()
{
    const QDateTime now = m_state.clock.now();
    show(activity::countDisplay(m_state.strRecords.recordLines(), m_state.strRecords.displayLines(), now));
    // The 24 hours move on with the clock even when no record comes: the
    // view is counted again once when the next hour begins.
    const QDateTime nextHour(now.date(), QTime(now.time().hour(), 0));
    m_nextHour->start(int(qBound(qint64(1000), now.msecsTo(nextHour.addSecs(3600)), qint64(3600 * 1000))));
}

void ActivityScreen::show(const activity::ActivityCounts &counts)
{
    m_counts = counts;
    QStringList hours;
    QList<activity::StatusCounts> perHour;
    for (int i = 0; i < 24; ++i) {
        // Hours as the 24-hour clock's numbers keep the axis short.
        hours << (counts.firstHour.isValid() ? QString::number(counts.firstHour.addSecs(3600 * i).time().hour())
                                             : QString::number(i));
        perHour << counts.hours[i];
    }
    // 24 two-digit hours fit side by side only in a smaller face.
    fill(chtHours->chart(), hours, perHour, true);
    QStringList entries;
    QList<activity::StatusCounts> perEntry;
    for (auto it = counts.entries.cbegin(); it != counts.entries.cend(); ++it) {
        const int n = it.key().digitValue();
        const QString name = n >= 1 && n <= m_state.strEntryNames.size() ? m_state.strEntryNames.at(n - 1).trimmed()
                                                                         : QString();
        entries << (name.isEmpty() ? QString(it.key()) : QStringLiteral("%1 %2").arg(it.key()).arg(name));
        perEntry << it.value();
    }
    fill(chtEntries->chart(), entries, perEntry);
    int day = 0, refused = 0;
    for (const activity::StatusCounts &h : counts.hours) {
        day += h.total();
        refused += h.notValid;
    }
    lblSummary->setText(
        counts.firstHour.isValid()
            ? QStringLiteral("%1 records, %2 in the last 24 hours (%3 NOT VALID), from %4 %5")
                  .arg(counts.records)
                  .arg(day)
                  .arg(refused)
                  .arg(dateField(counts.firstHour.date()).trimmed(), timeField(counts.firstHour.time()).trimmed())
            : QStringLiteral("%1 records").arg(counts.records));
    Q_EMIT countsChanged();
}

void ActivityScreen::savePicture()
{
    Prompts::SaveDialog dialog;
    dialog.filter = QStringLiteral("PNG pictures (*.png)|*.png|");
    dialog.initialFolder = m_state.dataDir;
    dialog.proposedName = QStringLiteral("activity.png");
    QString path = m_prompts.saveFileName(dialog);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QLatin1String(".png");
    QImage picture(size(), QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    render(&picture);
    // QImage::save gives no reason; the file is written through QFile so
    // the system's reason can be told.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG")) {
        m_prompts.inform(QStringLiteral("The picture could not be saved to %1: %2")
                             .arg(QDir::toNativeSeparators(path), file.errorString()),
                         Prompts::Icon::Warning);
    }
}

} // namespace gt
