#include "WidgetPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace gt {

namespace {
QMessageBox::Icon toQt(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Prompts::Button WidgetPrompts::message(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    // A window of its own, not a child of the window in front: that window
    // may be deleted while the box waits (the sign-on screen hands over to
    // the main screen on a timer while a notice about records received is
    // up), and would take the box, which lives here, with it. exec() makes it
    // modal to the whole program all the same.
    QMessageBox box(toQt(icon), title.isEmpty() ? programTitle() : title, text, QMessageBox::NoButton);
    if (buttons & Yes)
        box.addButton(QMessageBox::Yes);
    if (buttons & No)
        box.addButton(QMessageBox::No);
    if (buttons & Cancel)
        box.addButton(QMessageBox::Cancel);
    if ((buttons & Ok) || buttons == NoButton)
        box.addButton(QMessageBox::Ok);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Ok:
        return Ok;
    default:
        // Escape or the close control: the safest answer the box offers.
        if (buttons & Cancel)
            return Cancel;
        if (buttons & No)
            return No;
        return Ok;
    }
}

QString WidgetPrompts::saveFileName(const SaveDialog &dialog)
{
    QFileDialog fd(QApplication::activeWindow(), programTitle(), dialog.initialFolder);
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setFileMode(QFileDialog::AnyFile);
    // The program asks its own question about existing files where it needs one.
    fd.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = qtNameFilters(dialog.filter);
    fd.setNameFilters(filters);
    if (dialog.filterIndex >= 1 && dialog.filterIndex <= filters.size())
        fd.selectNameFilter(filters.at(dialog.filterIndex - 1));
    fd.setDefaultSuffix(QStringLiteral("txt"));
    if (!dialog.proposedName.isEmpty())
        fd.selectFile(dialog.proposedName);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(fd.selectedFiles().constFirst());
}

std::unique_ptr<QPrinter> WidgetPrompts::choosePrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // A PC without a printer still gets its listing, as a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty())
        printer->setOutputFormat(QPrinter::PdfFormat);
    QPrintDialog dialog(printer.get(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

} // namespace gt
