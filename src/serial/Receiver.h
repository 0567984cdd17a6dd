#pragma once

#include "MessageAssembler.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class QTimer;

namespace gt {

class GatetallyState;
class PortLink;
class Prompts;

// frmReceive: the hidden receiver that owns the serial line for the whole
// run. Each complete message is stamped with the moment it arrives, appended
// to the autosave file at once, and shown on the display; while the display
// is full, records wait (stamped and autosaved) and enter the display as soon
// as it is emptied. It never shows a window of its own, so it is a plain
// object named like the form it stands for.
class Receiver : public QObject
{
    Q_OBJECT
public:
    // How often a port that is not open is tried again.
    static constexpr int kRetryMs = 2000;

    Receiver(GatetallyState &state, Prompts &prompts, std::unique_ptr<PortLink> port, QObject *parent = nullptr);
    ~Receiver() override;

    // The receiver's load: opens the port of the command line, else the
    // adapter recorded in the data folder, else the Comm port of the settings. A port that cannot be opened is reported once and then tried
    // again every kRetryMs; the rest of the program goes on.
    bool openPort();
    // Apply in the comm port dialog: close the port and open the one the
    // settings now name. The buffer and the display are left alone.
    bool switchPort();
    // Exit: closes the port for good (no more retries).
    void closePort();

    bool isPortOpen() const;
    // Whether one of its boxes is open now.
    bool isShowingNotice() const { return m_showingNotice; }
    // The device the receiver listens on (or tries to).
    QString device() const { return m_device; }
    // What the main screen should say about the line; empty when all is well.
    QString statusText() const { return m_status; }
    // What the main screen says while all is well and the line is a chosen
    // adapter: its name and the device it is now; empty otherwise.
    QString listeningText() const { return m_listening; }
    // Records that arrived while the display was full.
    int waitingCount() const;
    PortLink &port() { return *m_port; }
    QTimer *retryTimer() const { return m_retry; }

    // The texts the receiver shows.
    static QString capacityMessage(bool autosave, const QString &autosaveFileName);
    static QString openFailureMessage(const QString &portName, const QString &reason);
    static QString notOpenStatus(const QString &portName, const QString &reason);
    // Added to it when this user may not use the device: how to be let in.
    // group is the one that owns the device and may read it, empty when
    // unknown (or when that group may not read it either).
    static QString permissionAdvice(const QString &group);
    static QString lostStatus(const QString &portName, const QString &reason);
    static QString writtenLateMessage(const QString &fileName, int count);

Q_SIGNALS:
    // The status text or the listening text changed.
    void statusChanged(const QString &text);

private:
    // Opens the device of the settings; reports a failure and starts retrying.
    bool open();
    // One attempt; on success the retries stop and the status clears.
    bool tryOpen(QString *reason);
    void onReadyRead();
    void onLost(const QString &reason);
    void retry();
    void take(const PanelMessage &message);
    void autosave(const QString &recordLine);
    QString displayLine(const QString &recordLine, bool incorrect) const;
    void moveWaitingIn();
    void displayFilled();
    void setStatus(const QString &text);
    void setListening(const QString &text);
    void notify(const QString &text, int icon);
    // Shows the queued boxes from the event loop, never from inside the
    // port's read handler: the port does not signal again while that
    // handler runs, so a box open there would stop intake.
    void scheduleNotices();
    void showNotices();

    GatetallyState &m_state;
    Prompts &m_prompts;
    std::unique_ptr<PortLink> m_port;
    QTimer *m_retry;
    MessageAssembler m_assembler;
    QString m_device;
    QString m_status;
    QString m_listening;
    bool m_closedForGood = false;

    struct Notice
    {
        QString text;
        int icon;
    };
    std::deque<Notice> m_notices;
    bool m_showingNotice = false;
    bool m_noticeScheduled = false;
};

} // namespace gt
