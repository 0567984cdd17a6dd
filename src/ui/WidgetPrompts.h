#pragma once

#include "Prompts.h"

class QWidget;

namespace gt {

// The real prompts: QMessageBox, QFileDialog and QPrintDialog, parented to the active window.
class WidgetPrompts : public Prompts
{
public:
    Button message(const QString &text, Icon icon, Buttons buttons, const QString &title) override;
    QString saveFileName(const SaveDialog &dialog) override;
    std::unique_ptr<QPrinter> choosePrinter() override;
};

} // namespace gt
