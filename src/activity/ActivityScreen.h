#pragma once

#include "ActivityCounts.h"

#include <QFutureWatcher>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

class QChartView;

namespace gt {

class GatetallyState;
class Prompts;

// frmActivity: records per hour over the last 24 hours and per entry point,
// VALID against NOT VALID, as stacked bars. Over the display it follows new
// records at most once a second; over a stored file the counting runs on a
// worker thread from the file's bytes, and the screen stays responsive.
class ActivityScreen : public QWidget
{
    Q_OBJECT
public:
    enum class Source { Display, StoredFile };
    // How often, at most, the view over the display is drawn again.
    static constexpr int kFollowMs = 1000;

    ActivityScreen(Source source, GatetallyState &state, Prompts &prompts, QWidget *parent = nullptr);
    ~ActivityScreen() override;

    // What the charts show now.
    const activity::ActivityCounts &counts() const { return m_counts; }
    // The stored file's counting has finished (or failed).
    bool isReady() const { return m_ready; }

    QLabel *lblSummary = nullptr;
    QChartView *chtHours = nullptr;
    QChartView *chtEntries = nullptr;
    QPushButton *cmdSavePicture = nullptr;
    QPushButton *cmdClose = nullptr;
    QTimer *tmrFollow = nullptr;

Q_SIGNALS:
    void countsChanged();

private:
    void countDisplay();
    void show(const activity::ActivityCounts &counts);
    void savePicture();

    QTimer *m_nextHour = nullptr;
    GatetallyState &m_state;
    Prompts &m_prompts;
    activity::ActivityCounts m_counts;
    bool m_ready = false;
    struct FileResult
    {
        bool ok = false;
        activity::ActivityCounts counts;
        QString error;
    };
    QFutureWatcher<FileResult> m_watcher;
};

} // namespace gt
