#include "NamesEditor.h"

#include "Menus.h"
#include "NameRules.h"
#include "Prompts.h"
#include "State.h"
#include "UpDownArrows.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace gt {

NamesEditor::NamesEditor(GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmNames"));
    setWindowTitle(QStringLiteral("Entry Points"));

    auto *central = new QWidget(this);
    setCentralWidget(central);

    lblNumber = new QLabel(QStringLiteral("Number"), central);
    lblNumber->setObjectName(QStringLiteral("lblNumber"));
    txtNumber = new QLineEdit(central);
    txtNumber->setObjectName(QStringLiteral("txtNumber"));
    txtNumber->setToolTip(QStringLiteral("Entry Point number"));
    txtNumber->setMaximumWidth(txtNumber->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    txtNumber->installEventFilter(this);
    lblNumber->setBuddy(txtNumber);
    updNumber = new UpDownArrows(central);
    updNumber->setObjectName(QStringLiteral("updNumber"));
    updNumber->setToolTip(QStringLiteral("Shows the next Entry Point"));

    lblName = new QLabel(QStringLiteral("Entry Point Name"), central);
    lblName->setObjectName(QStringLiteral("lblName"));
    txtName = new QLineEdit(central);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setToolTip(QStringLiteral("Entry Point name"));
    // Room for ten wide letters.
    txtName->setMinimumWidth(txtName->fontMetrics().horizontalAdvance(QString(11, QLatin1Char('W'))) + 12);
    lblName->setBuddy(txtName);

    cmdApply = new QPushButton(QStringLiteral("Apply"), central);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setToolTip(QStringLiteral("Saves the Entry Point Name"));
    cmdClose = new QPushButton(QStringLiteral("Close"), central);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setToolTip(QStringLiteral("Goes back to the Main screen"));

    auto *numberRow = new QHBoxLayout;
    numberRow->setSpacing(2);
    numberRow->addWidget(txtNumber);
    numberRow->addWidget(updNumber);
    numberRow->addStretch(1);
    auto *fields = new QGridLayout;
    fields->addWidget(lblNumber, 0, 0);
    fields->addWidget(lblName, 0, 1);
    fields->addLayout(numberRow, 1, 0);
    fields->addWidget(txtName, 1, 1);
    fields->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdClose);
    auto *outer = new QVBoxLayout(central);
    outer->addLayout(fields);
    outer->addSpacing(8);
    outer->addLayout(buttons);

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFileClose = addFileClose(file, static_cast<QWidget *>(this), &QWidget::close);
    // The editor has no help of its own: it belongs with the main screen.
    const HelpMenu help = addHelpMenu(menuBar(), flow, state, QStringLiteral("Main"));
    mnuHelpAbout = help.mnuHelpAbout;
    mnuHelpHelp = help.mnuHelpHelp;

    connect(txtNumber, &QLineEdit::textChanged, this, &NamesEditor::numberChanged);
    connect(txtName, &QLineEdit::textChanged, this, &NamesEditor::nameChanged);
    connect(updNumber, &UpDownArrows::up, this, [this] { step(names::stepUp(txtNumber->text())); });
    connect(updNumber, &UpDownArrows::down, this, [this] { step(names::stepDown(txtNumber->text())); });
    connect(cmdApply, &QPushButton::clicked, this, &NamesEditor::apply);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    // Every opening starts at entry point 1 with its name.
    txtNumber->setText(QStringLiteral("1"));
    txtName->setText(m_state.strEntryNames.value(0));
    txtName->setFocus();
}

bool NamesEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtNumber && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? names::stepUp(txtNumber->text()) : names::stepDown(txtNumber->text()));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void NamesEditor::numberChanged(const QString &text)
{
    const names::NumberReading reading = names::readNumber(text);
    switch (reading.kind) {
    case names::NumberReading::Empty:
        txtName->clear();
        break;
    case names::NumberReading::TooHigh:
    case names::NumberReading::Invalid:
        m_prompts.inform(reading.message());
        // Emptying the box runs this again, which empties the name too.
        txtNumber->clear();
        break;
    case names::NumberReading::EntryPoint:
        txtName->setText(m_state.strEntryNames.value(reading.row));
        break;
    }
}

void NamesEditor::nameChanged(const QString &text)
{
    const names::NameFit fit = names::fitName(text);
    if (fit.message.isEmpty())
        return;
    m_prompts.inform(fit.message);
    txtName->setText(fit.text);
}

void NamesEditor::step(const names::Step &step)
{
    if (!step.message.isEmpty())
        m_prompts.inform(step.message);
    else
        txtNumber->setText(step.text);
}

void NamesEditor::apply()
{
    const names::NumberReading reading = names::readNumber(txtNumber->text());
    if (reading.kind != names::NumberReading::EntryPoint) {
        // Only an empty box gets here (anything else was emptied as it was
        // typed): there is no entry point to name.
        m_prompts.inform(names::invalidMessage());
        txtNumber->setFocus();
        return;
    }
    QString problem;
    if (!names::storeName(m_state, reading.row, txtName->text(), &problem)) {
        // The name stays in use for this run; the number stays, so Apply
        // can be tried again.
        m_prompts.inform(problem, Prompts::Icon::Warning);
        return;
    }
    txtNumber->setText(names::nextAfterApply(txtNumber->text()));
    txtName->setFocus();
    txtName->selectAll();
}

} // namespace gt
