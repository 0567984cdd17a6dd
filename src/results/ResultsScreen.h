#pragma once

#include "Listing.h"
#include "ResultLines.h"

#include <QMainWindow>

class QAction;
class QListView;
class QPushButton;

namespace gt {

class GatetallyState;
class Prompts;
class ScreenFlow;

// frmSearchResults ("Display Search Results") and frmSavedResults ("Stored
// Search Results"): what the last search found, as display lines in the
// display mode of the moment the screen opened, with the way back to the
// search, Save As and Print.
class ResultsScreen : public QMainWindow
{
    Q_OBJECT
public:
    enum class Twin { Displayed, Stored };

    ResultsScreen(Twin twin, GatetallyState &state, Prompts &prompts, ScreenFlow &flow, QWidget *parent = nullptr);

    Twin twin() const { return m_twin; }
    const results::ResultLines &lines() const { return m_model->lines(); }

    // Refine this Search: the search screen starts from the last criteria.
    void refine();
    // New Search: the search screen starts afresh.
    void newSearch();
    // Back and File > Close.
    void goBack();
    // File > Save As: the search-results report.
    void saveAs();
    // File > Print: the results with their criteria.
    void print();

    QListView *lstResults = nullptr;
    QPushButton *cmdRefine = nullptr, *cmdNew = nullptr, *cmdBack = nullptr;
    QAction *mnuFileSaveAs = nullptr, *mnuFilePrint = nullptr, *mnuFileClose = nullptr;
    QAction *mnuHelpAbout = nullptr, *mnuHelpHelp = nullptr;

    // The message for a Save dialog left without a file name.
    static QString noFileNameMessage();

private:
    void buildMenus();

    Twin m_twin;
    GatetallyState &m_state;
    Prompts &m_prompts;
    ScreenFlow &m_flow;
    results::ResultsModel *m_model;
};

} // namespace gt
