#include "FileContentsScreen.h"

#include "ListingPrinter.h"
#include "FileLines.h"
#include "Menus.h"
#include "Navigator.h"
#include "Paths.h"
#include "Prompts.h"
#include "State.h"
#include "UniformListView.h"
#include "WriteFailure.h"
#include "StoredFiles.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <memory>

namespace gt {

namespace {

// Every row of the list is as high as a line of the font and as wide as the
// longest line of the file so far: the list lays out by the first row alone
// (which is what keeps millions of rows fast), and that row is often empty.
class LineDelegate : public QStyledItemDelegate
{
public:
    LineDelegate(const stored::FileLines *lines, QObject *parent) : QStyledItemDelegate(parent), m_lines(lines) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics fm(option.font);
        return QSize(fm.horizontalAdvance(QLatin1Char('0')) * m_lines->longestLine() + 8, qMax(base.height(), fm.height() + 2));
    }

private:
    const stored::FileLines *m_lines;
};

} // namespace

FileContentsScreen *FileContentsScreen::load(GatetallyState &state, Prompts &prompts, QWidget *parent)
{
    auto lines = std::make_unique<stored::FileLines>();
    const QString path = state.strOpenFile;
    QString reason;
    if (!lines->open(path, &reason)) {
        prompts.inform(readFailureMessage(recordsFileName(state.dataDir, path), reason), Prompts::Icon::Warning);
        return nullptr;
    }
    return new FileContentsScreen(state, prompts, lines.release(), parent);
}

FileContentsScreen::FileContentsScreen(GatetallyState &state, Prompts &prompts, stored::FileLines *lines,
                                       QWidget *parent)
    : QMainWindow(parent), m_state(state), m_prompts(prompts), m_path(state.strOpenFile)
{
    setObjectName(QStringLiteral("frmOpenFile"));
    setWindowTitle(QStringLiteral("File Contents"));
    auto *central = new QWidget(this);
    setCentralWidget(central);
    lines->setParent(this);

    lblFile = new QLabel(m_path, central);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    QFont labelFont = lblFile->font();
    labelFont.setPointSize(12);
    labelFont.setBold(true);
    lblFile->setFont(labelFont);
    lblFile->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lstFileDisplay = new UniformListView(central);
    lstFileDisplay->setObjectName(QStringLiteral("lstFileDisplay"));
    lstFileDisplay->setFont(fixedPitchFont());
    lstFileDisplay->setItemDelegate(new LineDelegate(lines, lstFileDisplay));
    lstFileDisplay->setModel(lines);
    lstFileDisplay->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFileDisplay->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QFontMetrics fm(lstFileDisplay->font());
    lstFileDisplay->setMinimumSize(fm.horizontalAdvance(QString(68, QLatin1Char('0'))) + 48, 360);

    auto *layout = new QVBoxLayout(central);
    layout->addWidget(lblFile);
    layout->addWidget(lstFileDisplay, 1);

    QMenu *file = addNamedMenu(menuBar(), QStringLiteral("mnuFile"), QStringLiteral("&File"));
    mnuFilePrint = addNamedItem(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print"));
    connect(mnuFilePrint, &QAction::triggered, this, &FileContentsScreen::print);
    mnuFileClose = addFileClose(file, this, &QWidget::close);

    const QString name = recordsFileName(state.dataDir, m_path);
    connect(lines, &stored::FileLines::indexed, this, [this, name](const QString &error) {
        if (!error.isEmpty())
            m_prompts.inform(readFailureMessage(name, error), Prompts::Icon::Warning);
    });
    connect(lines, &stored::FileLines::fileChanged, this, [this, name](const QString &reason) {
        m_prompts.inform(stored::fileChangedMessage(name, reason), Prompts::Icon::Warning);
    });
}

void FileContentsScreen::print()
{
    // The file is read again as it is now, when printing starts.
    results::printListing(m_prompts, [this](QString *problem) {
        return results::fileContentsListing(m_path, results::fileContentsTitle(m_state.dataDir, m_path),
                                            m_state.clock.now(), problem);
    });
}

} // namespace gt
