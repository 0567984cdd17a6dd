#include "Receiver.h"

#include "Paths.h"
#include "PortLink.h"
#include "PortNames.h"
#include "Prompts.h"
#include "RecordLine.h"
#include "SerialAdapters.h"
#include "State.h"
#include "TextFile.h"
#include "WriteFailure.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace gt {

Receiver::Receiver(GatetallyState &state, Prompts &prompts, std::unique_ptr<PortLink> port, QObject *parent)
    : QObject(parent), m_state(state), m_prompts(prompts), m_port(std::move(port)), m_retry(new QTimer(this))
{
    setObjectName(QStringLiteral("frmReceive"));
    m_retry->setObjectName(QStringLiteral("tmrReopen"));
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &Receiver::retry);
    connect(m_port.get(), &PortLink::readyRead, this, &Receiver::onReadyRead);
    connect(m_port.get(), &PortLink::lost, this, &Receiver::onLost);
    // Clear, Save and the clearing offered by autosave all end here.
    connect(&m_state.strRecords, &DisplayStore::emptied, this, &Receiver::moveWaitingIn);
    connect(&m_state.autosaveWriter, &AutosaveWriter::failed, this, [this](const QString &path, const QString &reason) {
        notify(writeFailureMessage(recordsFileName(m_state.dataDir, path), reason), int(Prompts::Icon::Warning));
        scheduleNotices();
    });
    connect(&m_state.autosaveWriter, &AutosaveWriter::syncFailed, this,
            [this](const QString &path, const QString &reason) {
                notify(writeFailureMessage(recordsFileName(m_state.dataDir, path), reason),
                       int(Prompts::Icon::Warning));
                scheduleNotices();
            });
    // Records that wait for room and were held for a file that was never
    // settled are in no file: they are appended as they enter, if autosave
    // is on by then. They are the newest records, so the last ones waiting.
    connect(&m_state.autosaveWriter, &AutosaveWriter::heldDropped, this, [this](int count) {
        auto &held = m_state.strRecords.held();
        for (auto w = held.rbegin(); w != held.rend() && count > 0; ++w, --count)
            w->autosaved = false;
    });
    connect(&m_state.autosaveWriter, &AutosaveWriter::recovered, this, [this](const QString &path, int late) {
        notify(writtenLateMessage(recordsFileName(m_state.dataDir, path), late), int(Prompts::Icon::Information));
        scheduleNotices();
    });
}

Receiver::~Receiver()
{
    // The port goes before the rest, so that no notification reaches a
    // half-destroyed receiver.
    if (m_port) {
        disconnect(m_port.get(), nullptr, this, nullptr);
        m_port->close();
    }
}

QString Receiver::capacityMessage(bool autosave, const QString &autosaveFileName)
{
    const QString capacity = QString::number(kDisplayCapacity);
    if (!autosave)
        return QStringLiteral("Gatetally has reached its maximum capacity\r\n"
                              "of %1 records.  Please save the records if\r\n"
                              "you would like and then click on the Clear button\r\n"
                              "to clear the display")
            .arg(capacity);
    return QStringLiteral("Gatetally has reached its maximum capacity\r\n"
                          "of %1 records for the file %2.\r\n"
                          "Please click on the Clear button to clear the\r\n"
                          "display, turn off autosave, and choose a new file\r\n"
                          "name when prompted for future autosaves")
        .arg(capacity, autosaveFileName);
}

QString Receiver::openFailureMessage(const QString &portName, const QString &reason)
{
    return QStringLiteral("The serial port %1 could not be opened:\r\n%2\r\n\r\n"
                          "No records are received until it opens. Another port can be\r\n"
                          "chosen with Setup > Comm Port.")
        .arg(portName, reason);
}

QString Receiver::notOpenStatus(const QString &portName, const QString &reason)
{
    return QStringLiteral("Serial port %1 could not be opened (%2). Trying again every 2 seconds.")
        .arg(portName, reason);
}

QString Receiver::permissionAdvice(const QString &group)
{
    const QString named = group.isEmpty() ? QStringLiteral("dialout") : group;
    return QStringLiteral("This user may not use it: add the account to the group %1, which %2, with "
                          "sudo usermod -aG %3 \"$USER\", then log out and in again.")
        .arg(named,
             group.isEmpty() ? QStringLiteral("owns serial devices on Debian") : QStringLiteral("owns the device"),
             named);
}

QString Receiver::lostStatus(const QString &portName, const QString &reason)
{
    return QStringLiteral("Serial port %1 was lost (%2). Trying again every 2 seconds.").arg(portName, reason);
}

QString Receiver::writtenLateMessage(const QString &fileName, int count)
{
    return QStringLiteral("The records file %1 can be written again.\r\n"
                          "%2 record(s) that could not be written before have now been written to it.")
        .arg(fileName, QString::number(count));
}

bool Receiver::openPort()
{
    m_closedForGood = false;
    // Runs once, at start. An unreadable adapter.txt is told through the
    // notice queue, so that its box opens only once the port listens.
    QString unreadable;
    m_state.chosenAdapter = readAdapterChoice(m_state.dataDir, &unreadable);
    if (!unreadable.isEmpty()) {
        notify(adapterFileUnreadableMessage(m_state.dataDir, unreadable, receiverPortName(m_state)),
               int(Prompts::Icon::Warning));
        scheduleNotices();
    }
    return open();
}

bool Receiver::switchPort()
{
    m_port->close();
    m_retry->stop();
    m_closedForGood = false;
    return open();
}

void Receiver::closePort()
{
    m_closedForGood = true;
    m_retry->stop();
    m_port->close();
    setStatus(QString());
    setListening(QString());
}

bool Receiver::isPortOpen() const { return m_port->isOpen(); }

bool Receiver::tryOpen(QString *reason)
{
    m_device = receiverDevice(m_state);
    if (!m_port->open(m_device, reason)) {
        setListening(QString());
        return false;
    }
    m_retry->stop();
    // The device behind the adapter's name is looked up at each open: a
    // re-plugged adapter may have become another one.
    const bool adapter = m_state.portOverride.isEmpty() && m_device == m_state.chosenAdapter;
    setStatus(QString());
    setListening(adapter ? listeningOnAdapterText(m_device, adapterDevice(m_device)) : QString());
    return true;
}

bool Receiver::open()
{
    QString reason;
    if (tryOpen(&reason))
        return true;
    const QString name = receiverPortName(m_state);
    if (reason.isEmpty())
        reason = QStringLiteral("unknown error");
    QString status = notOpenStatus(name, reason);
    if (m_port->openDenied()) {
        // Joining the device's group helps only when that group may read it.
        const QFileInfo device(m_device);
        status += QLatin1Char(' ')
            + permissionAdvice(device.permission(QFile::ReadGroup) ? device.group() : QString());
    }
    setStatus(status);
    m_retry->start();
    notify(openFailureMessage(name, reason), int(Prompts::Icon::Warning));
    showNotices();
    return false;
}

void Receiver::retry()
{
    if (m_closedForGood) {
        m_retry->stop();
        return;
    }
    // The status keeps the first reason; a retry only ends it by succeeding.
    QString reason;
    tryOpen(&reason);
}

void Receiver::onLost(const QString &reason)
{
    m_port->close();
    setListening(QString());
    // A message cut off by the loss is kept as one incorrect record, stamped
    // now, and the line starts clean when it returns.
    if (const std::optional<PanelMessage> partial = m_assembler.takePartial())
        take(*partial);
    m_state.strReceiveBuffer.clear();
    scheduleNotices();
    if (m_closedForGood)
        return;
    setStatus(lostStatus(receiverPortName(m_state), reason.isEmpty() ? QStringLiteral("device error") : reason));
    m_retry->start();
}

void Receiver::onReadyRead()
{
    const QList<PanelMessage> messages = m_assembler.feed(m_port->readAll());
    for (const PanelMessage &m : messages)
        take(m);
    m_state.strReceiveBuffer = QString::fromLatin1(m_assembler.pending());
    scheduleNotices();
}

void Receiver::take(const PanelMessage &message)
{
    const QString line = buildRecordLine(message.text, m_state.clock.now());
    m_state.strRecordLine = line;
    bool filled = false;
    if (m_state.strRecords.held().empty() && !m_state.strRecords.isFull()) {
        m_state.strRecords.append(line, displayLine(line, message.incorrect));
        filled = m_state.strRecords.isFull();
    } else {
        m_state.strRecords.held().push_back({line, message.incorrect, m_state.blnAutosave});
    }
    if (m_state.blnAutosave)
        autosave(line);
    m_state.strRecords.announceTaken(line, message.incorrect);
    if (filled)
        displayFilled();
}

QString Receiver::displayLine(const QString &recordLine, bool incorrect) const
{
    return incorrect ? incorrectDataLine(recordLine)
                     : MakeDisplayLine(recordLine, m_state.strDisplayMode, m_state.strEntryNames);
}

void Receiver::autosave(const QString &recordLine)
{
    m_state.autosaveWriter.append(m_state.strAutosaveFile, recordLine);
}

void Receiver::displayFilled()
{
    notify(capacityMessage(m_state.blnAutosave, QFileInfo(m_state.strAutosaveFile).fileName()),
           int(Prompts::Icon::None));
    if (m_state.blnAutosave)
        m_state.blnAutosaveFull = true;
}

int Receiver::waitingCount() const { return int(m_state.strRecords.held().size()); }

void Receiver::moveWaitingIn()
{
    auto &held = m_state.strRecords.held();
    if (held.empty())
        return;
    const int room = kDisplayCapacity - m_state.intRecordCount();
    const int n = qMin(room, int(held.size()));
    if (n <= 0)
        return;
    QStringList records;
    QStringList shown;
    records.reserve(n);
    shown.reserve(n);
    for (int i = 0; i < n; ++i) {
        const DisplayStore::Held &w = held.front();
        records.append(w.recordLine);
        shown.append(displayLine(w.recordLine, w.incorrect));
        // Held while autosave was off, entering with it on: the file gets
        // it now, so no row on the display is in no file.
        if (!w.autosaved && m_state.blnAutosave)
            autosave(w.recordLine);
        held.pop_front();
    }
    m_state.strRecords.appendMany(records, shown);
    if (m_state.strRecords.isFull())
        displayFilled();
    scheduleNotices();
}

void Receiver::setStatus(const QString &text)
{
    if (text == m_status)
        return;
    m_status = text;
    Q_EMIT statusChanged(m_status);
}

void Receiver::setListening(const QString &text)
{
    if (text == m_listening)
        return;
    m_listening = text;
    Q_EMIT statusChanged(m_status);
}

void Receiver::notify(const QString &text, int icon) { m_notices.push_back({text, icon}); }

void Receiver::scheduleNotices()
{
    if (m_notices.empty() || m_showingNotice || m_noticeScheduled)
        return;
    m_noticeScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_noticeScheduled = false;
            showNotices();
        },
        Qt::QueuedConnection);
}

void Receiver::showNotices()
{
    // A message box runs its own event loop, in which more records arrive.
    // Those are taken at once (stamped and autosaved); their messages queue
    // behind the one on screen and are shown one at a time, in order.
    if (m_showingNotice)
        return;
    m_showingNotice = true;
    // Once the port is closed for good the program is ending: what is
    // still queued is not worth a box the operator has to answer. The end
    // may come while a box is open, and take the receiver with it.
    const QPointer<Receiver> self(this);
    while (!m_notices.empty() && !m_closedForGood) {
        const Notice n = m_notices.front();
        m_notices.pop_front();
        m_prompts.inform(n.text, Prompts::Icon(n.icon));
        if (!self)
            return;
    }
    m_showingNotice = false;
}

} // namespace gt
