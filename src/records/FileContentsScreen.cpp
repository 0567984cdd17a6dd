#include "FileContentsScreen.h"

#include "BusyWork.h"
#include "ListingPrinter.h"
#include "FileLines.h"
#include "Menus.h"
#include "Navigator.h"
#include "Paths.h"
#include "Prompts.h"
#include "State.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <memory>

namespace gt {

namespace {

// Every row of the list is as high as a line of the font and as wide as the
// longest line of the file: the list lays out by the first row alone (which
// is what keeps a million rows fast), and that row is often empty.
class LineDelegate : public QStyledItemDelegate
{
public:
    LineDelegate(int longestLine, QObject *parent) : QStyledItemDelegate(parent), m_longest(longestLine) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        const QFontMetrics fm(option.font);
        return QSize(fm.horizontalAdvance(QLatin1Char('0')) * m_longest + 8, qMax(base.height(), fm.height() + 2));
    }

private:
    int m_longest;
};

} // namespace

FileContentsScreen *FileContentsScreen::load(GatetallyState &state, Prompts &prompts, QWidget *parent)
{
    auto lines = std::make_unique<stored::FileLines>();
    const QString path = state.strOpenFile;
    const QString name = recordsFileName(state.dataDir, path);
    QString reason;
    stored::Load loaded;
    {
        BusyWork work(QApplication::activeWindow(), QStringLiteral("Reading %1 ...").arg(name));
        loaded = lines->load(path, &reason, [&work](qint64 done, qint64 total) { return work.progress(done, total); });
    }
    if (loaded == stored::Load::Failed)
        prompts.inform(stored::readFailureMessage(name, reason), Prompts::Icon::Warning);
    if (loaded != stored::Load::Done)
        return nullptr;
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

    lstFileDisplay = new QListView(central);
    lstFileDisplay->setObjectName(QStringLiteral("lstFileDisplay"));
    lstFileDisplay->setFont(fixedPitchFont());
    lstFileDisplay->setUniformItemSizes(true);
    lstFileDisplay->setItemDelegate(new LineDelegate(lines->longestLine(), lstFileDisplay));
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
