#include "HelpViewer.h"

#include "ListingPrinter.h"

#include "HelpFiles.h"
#include "Menus.h"
#include "State.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace gt {

HelpViewer::HelpViewer(const GatetallyState &state, Prompts &prompts, ScreenFlow &flow, const QStringList &folders,
                       QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmHelpFile"));
    setWindowTitle(QStringLiteral("R-2700 Help"));

    txtFileDisplay = new QPlainTextEdit(this);
    txtFileDisplay->setObjectName(QStringLiteral("txtFileDisplay"));
    // Nothing reads the text back, so there is nothing to gain from typing
    // into it; it can still be selected and copied.
    txtFileDisplay->setReadOnly(true);
    txtFileDisplay->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCentralWidget(txtFileDisplay);

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileClose = addFileClose(file, static_cast<QWidget *>(this), &QWidget::close);
    file->addSeparator()->setObjectName(QStringLiteral("mnuBar1"));
    mnuFilePrint = addNamedItem(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print"));
    // The help listing is the text as the viewer holds it when Print is chosen.
    connect(mnuFilePrint, &QAction::triggered, this,
            [this, &prompts] { results::printListing(prompts, results::helpListing(txtFileDisplay->toPlainText())); });

    QMenu *help = addNamedMenu(menuBar(), QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    mnuHelpAbout = addNamedItem(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About"));
    openOnTrigger(mnuHelpAbout, flow, Screen::About);

    // A topic without a file, or a file that cannot be read, leaves the
    // window empty and says nothing.
    txtFileDisplay->setPlainText(help::readHelpText(state.strHelpTopic, folders));

    const QFontMetrics metrics(txtFileDisplay->font());
    resize(metrics.horizontalAdvance(QString(84, QLatin1Char('n'))), metrics.lineSpacing() * 34);
}

} // namespace gt
