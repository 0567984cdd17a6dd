#pragma once

#include "FileSearch.h"
#include "SearchCriteria.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QProgressDialog;
class QRadioButton;
class QTimer;

namespace gt {

class SearchResults;
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
    ~SearchScreen() override;

    search::Twin twin() const { return m_twin; }

    // The text box of a field (for the status, the combo box's line edit).
    QLineEdit *field(search::Field field) const;
    search::Entries entries() const;
    void showEntries(const search::Entries &entries);

    // Search: checks the criteria, searches this screen's lines and, when it
    // finds its way through, leaves the criteria and results in the state
    // and hands over to the results screen. A stored file is searched on a
    // worker thread: the screen takes no commands meanwhile, and past half a
    // second a progress dialog offers Cancel.
    void search();
    bool searching() const { return m_searching; }
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
    // What a search ends in, once its lines are found.
    void conclude(const search::Outcome &out, const SearchResults *found);
    void searchStoredFile(const search::Outcome &out);
    void setBusy(bool busy);
    RuleLineEdit *makeField(QWidget *parent, search::Field field, const QString &name);
    QGroupBox *makeRow(QWidget *parent, bool from);
    void buildMenus();
    void open();

    search::Twin m_twin;
    GatetallyState &m_state;
    Prompts &m_prompts;
    ScreenFlow &m_flow;
    search::FileSearch *m_fileSearch = nullptr;
    QPointer<QProgressDialog> m_progress;
    bool m_searching = false;
};

} // namespace gt
