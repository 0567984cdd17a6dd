#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

namespace gt {

// Every message box, question, Save dialog and print dialog of the program
// goes through this interface, so that tests can read the exact texts and
// answer from a script.
class Prompts
{
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum Button { NoButton = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8 };
    using Buttons = int;

    // Defaults to the program's title when title is empty.
    static QString programTitle() { return QStringLiteral("Gatetally"); }

    struct SaveDialog
    {
        QString filter;        // "Text documents (*.txt)|*.txt|" style, as the program names it
        int filterIndex = 1;   // 1-based
        QString initialFolder;
        QString proposedName;  // may be empty
    };

    virtual ~Prompts() = default;

    // Shows a modal message and returns the button chosen.
    virtual Button message(const QString &text, Icon icon = Icon::None, Buttons buttons = Ok,
                           const QString &title = QString()) = 0;

    // Modal Save dialog; returns the full path chosen, or an empty string when
    // the operator cancels.
    virtual QString saveFileName(const SaveDialog &dialog) = 0;

    // Modal print dialog; returns the printer chosen, set up and ready to
    // print on, or nothing when the operator cancels.
    virtual std::unique_ptr<QPrinter> choosePrinter() = 0;

    // Convenience wrappers.
    void inform(const QString &text, Icon icon = Icon::None, const QString &title = QString())
    {
        message(text, icon, Ok, title);
    }
    bool askYesNo(const QString &text, const QString &title = QString())
    {
        return message(text, Icon::None, Yes | No, title) == Yes;
    }
};

// The Save dialog every records file is chosen with.
Prompts::SaveDialog textFileDialog(const QString &initialFolder, const QString &proposedName = QString());

// Turns a "Description (*.txt)|*.txt|" filter into a Qt name filter list.
QStringList qtNameFilters(const QString &filter);

} // namespace gt
