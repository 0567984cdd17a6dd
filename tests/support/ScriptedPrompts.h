#pragma once

#include "Prompts.h"

#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace gt::test {

// Records every prompt and answers from a script. An unscripted question is
// answered with the first button offered and flagged, so a test that forgot
// a prompt fails on its expectations rather than hanging.
class ScriptedPrompts : public Prompts
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Ok;
    };

    QList<Shown> shown;
    QList<Button> answers;            // next answers to questions, in order
    QStringList fileNames;            // next Save dialog results ("" = cancel)
    QList<SaveDialog> dialogs;        // Save dialogs shown
    int unscripted = 0;
    int printCancels = 0;             // the next print dialogs to cancel
    QStringList printed;              // PDF files the print dialogs handed out
    // Runs while a box or dialog is open (as events run in its own loop),
    // with the number of prompts opened before it.
    std::function<void(int)> whileOpen;
    int opened = 0;

    Button message(const QString &text, Icon icon, Buttons buttons, const QString &title) override
    {
        shown.append({title.isEmpty() ? programTitle() : title, text, icon, buttons});
        open();
        if (buttons == Ok || buttons == NoButton)
            return Ok;
        if (!answers.isEmpty())
            return answers.takeFirst();
        ++unscripted;
        for (Button b : {Yes, No, Cancel, Ok}) {
            if (buttons & b)
                return b;
        }
        return Ok;
    }

    QString saveFileName(const SaveDialog &dialog) override
    {
        dialogs.append(dialog);
        open();
        if (fileNames.isEmpty()) {
            ++unscripted;
            return QString();
        }
        return fileNames.takeFirst();
    }

    // Prints go to PDF files in a folder of the test's own.
    std::unique_ptr<QPrinter> choosePrinter() override
    {
        if (printCancels > 0) {
            --printCancels;
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printed.append(m_printDir.filePath(QStringLiteral("print-%1.pdf").arg(printed.size() + 1)));
        printer->setOutputFileName(printed.constLast());
        return printer;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown &s : shown)
            out.append(s.text);
        return out;
    }

    void open()
    {
        const int n = opened++;
        if (whileOpen)
            whileOpen(n);
    }

private:
    QTemporaryDir m_printDir;
};

} // namespace gt::test
