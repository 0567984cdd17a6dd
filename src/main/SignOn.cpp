#include "SignOn.h"

#include "Paths.h"
#include "RecordsFile.h"
#include "State.h"
#include "TextFile.h"
#include "Version.h"
#include "WriteFailure.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace gt {

SignOnResult signOnLoad(GatetallyState &state)
{
    SignOnResult result;
    state.setDisplayMode(DisplayMode::Number);
    QString error;
    QString notice;
    result.settings = loadSettings(state, &error, &notice);
    QStringList problems;
    if (!fitsLatin1(state.dataDir))
        problems << dataFolderNotLatin1Message(state.dataDir);
    if (!notice.isEmpty())
        problems << notice;
    if (result.settings == SettingsLoad::Defaults) {
        if (!error.isEmpty())
            problems << settingsWriteFailureMessage(state.dataDir, error);
    } else if (state.blnAutosave
               && !appendTextLines(state.strAutosaveFile, records::signOnMarker(state.clock.now()), &error)) {
        problems << writeFailureMessage(recordsFileName(state.dataDir, state.strAutosaveFile), error);
    }
    result.problem = problems.join(QStringLiteral("\r\n\r\n"));
    return result;
}

SignOnScreen::SignOnScreen(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSignOn"));
    setWindowTitle(QStringLiteral("Quorvel Gatetally"));

    tmrSignOn = new QTimer(this);
    tmrSignOn->setObjectName(QStringLiteral("tmrSignOn"));
    tmrSignOn->setInterval(2000);
    tmrSignOn->setSingleShot(true);
    connect(tmrSignOn, &QTimer::timeout, this, &SignOnScreen::timerTicked);

    auto make = [this](const QString &name, const QString &text, const QString &family, qreal size, bool bold) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        QFont f(family);
        f.setPointSizeF(size);
        f.setBold(bold);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    const QString serif = QStringLiteral("Times New Roman");
    const QString sans = QStringLiteral("MS Sans Serif");
    auto *imgQuorvel = new QLabel(this);
    imgQuorvel->setObjectName(QStringLiteral("imgQuorvel"));
    imgQuorvel->setText(QStringLiteral("Q"));
    imgQuorvel->setAlignment(Qt::AlignCenter);
    imgQuorvel->setFixedSize(64, 64);
    imgQuorvel->setStyleSheet(QStringLiteral(
        "QLabel { background: #1f3f7f; color: white; font: bold 36pt 'Times New Roman'; border-radius: 8px; }"));
    auto *lblQuorvelInc = make(QStringLiteral("lblQuorvelInc"), QStringLiteral("Quorvel, Inc."), serif, 14, true);
    auto *lblType = make(QStringLiteral("lblType"), QStringLiteral(" Quorvel Entry Systems"), serif, 12, false);
    auto *lblFor = make(QStringLiteral("lblFor"), QStringLiteral("for "), serif, 12, false);
    auto *lblTitle = make(QStringLiteral("lblTitle"), QStringLiteral("Gatetally"), serif, 28, true);
    lblVersion = make(QStringLiteral("lblVersion"), versionCaption(), sans, 9, false);
    auto *lblCpyright = make(QStringLiteral("lblCpyright"),
                             QStringLiteral("Copyright Quorvel, Inc. All rights reserved."), sans, 8, false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->addWidget(imgQuorvel, 0, Qt::AlignHCenter);
    layout->addWidget(lblQuorvelInc);
    layout->addWidget(lblType);
    layout->addWidget(lblFor);
    layout->addWidget(lblTitle);
    layout->addSpacing(12);
    layout->addWidget(lblVersion);
    layout->addWidget(lblCpyright);
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
}

} // namespace gt
