#pragma once

class QWidget;

namespace gt {

// Every screen of the program, as the flow opens it.
enum class Screen {
    Main,
    DisplayedSearch,  // frmRecordsSearch
    StoredSearch,     // frmSavedSearch
    DisplayedResults, // frmSearchResults
    StoredResults,    // frmSavedResults
    RecordsManagement,
    FileContents,
    Names,
    Help,
    About,
    CommPort,
    Activity,       // frmActivity over the display
    StoredActivity, // frmActivity over the stored file strOpenFile names
};

// How screens reach each other. A screen never makes or finds another one: it
// leaves what the next one needs in the program-wide state (criteria,
// blnRefine, strOpenFile, strHelpTopic) and asks the flow. The flow knows
// which screens set the main screen aside and brings it back when the last
// of them has closed.
class ScreenFlow
{
public:
    virtual ~ScreenFlow() = default;

    // Shows the screen (made anew, or the open one brought forward). When
    // `from` is given, that screen hands over: the next one is shown first,
    // then `from` closes, so the main screen stays set aside along the chain.
    // A screen that cannot be made (a file that could not be read, the comm
    // port with no receiver) only closes `from`.
    virtual void open(Screen screen, QWidget *from = nullptr) = 0;
};

} // namespace gt
