#pragma once

#include "SearchCriteria.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace gt {

class GatetallyState;
class Prompts;
class RuleLineEdit;
class ScreenFlow;

// frmRecordsSearch ("Displayed Record Search") and frmSavedSearch ("Stored
// Record Search"): the criteria of a search over the main display or over a
// stored records file. The screen only moves texts between its widgets and
// the search engine; the checks and the matching live in the engine.
class SearchScreen : public QMainWindow
{
    Q_OBJECT
public:
    SearchScreen(search::Twin twin, GatetallyState &state, Prompts &prompts, ScreenFlow &flow,
                 QWidget *parent = nullptr);

    search::Twin twin() const { return m_twin; }

    // The text box of a field (for the status, the combo box's line edit).
    QLineEdit *field(search::Field field) const;
    search::Entries entries() const;
    void showEntries(const search::Entries &entries);

    // Search: checks the criteria, searches this screen's lines and, when it
    // finds its way through, leaves the criteria and results in the state
    // and hands over to the results screen.
    void search();
    // Back and File > Close: the main screen, or for stored records the
    // choice of file.
    void goBack();

    RuleLineEdit *txtFromMonth = nullptr, *txtFromDay = nullptr, *txtFromYear = nullptr;
    RuleLineEdit *txtFromHour = nullptr, *txtFromMin = nullptr;
    RuleLineEdit *txtToMonth = nullptr, *txtToDay = nullptr, *txtToYear = nullptr;
    RuleLineEdit *txtToHour = nullptr, *txtToMin = nullptr;
    RuleLineEdit *txtFacility = nullptr, *txtCardKeyless = nullptr, *txtEntryPoint = nullptr;
    QComboBox *cboStatus = nullptr;
    QRadioButton *optFromAM = nullptr, *optFromPM = nullptr, *optToAM = nullptr, *optToPM = nullptr;
    QPushButton *cmdSearch = nullptr, *cmdBack = nullptr;
    QTimer *Timer1 = nullptr;
    QAction *mnuFileClose = nullptr, *mnuViewEntrypoints = nullptr;
    QAction *mnuHelpAbout = nullptr, *mnuHelpHelp = nullptr;

private:
    RuleLineEdit *makeField(QWidget *parent, search::Field field, const QString &name);
    QGroupBox *makeRow(QWidget *parent, bool from);
    void buildMenus();
    void open();

    search::Twin m_twin;
    GatetallyState &m_state;
    Prompts &m_prompts;
    ScreenFlow &m_flow;
};

} // namespace gt
