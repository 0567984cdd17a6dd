#pragma once

#include "UniformListView.h"

#include <QMainWindow>

class QAction;
class QLabel;

namespace gt {

class GatetallyState;
class Prompts;

namespace stored {
class FileLines;
}

// frmOpenFile ("File Contents"): every line of one stored records file as
// it is on disk, in a fixed-pitch list, and File > Print.
class FileContentsScreen : public QMainWindow
{
    Q_OBJECT
public:
    // Makes the screen over the file that strOpenFile names, listing its
    // lines as they are indexed. Nothing is made when the file cannot be
    // opened (the operator is told why).
    static FileContentsScreen *load(GatetallyState &state, Prompts &prompts, QWidget *parent = nullptr);

    QLabel *lblFile = nullptr;
    UniformListView *lstFileDisplay = nullptr;
    QAction *mnuFilePrint = nullptr, *mnuFileClose = nullptr;

public Q_SLOTS:
    // Prints the file as it is on disk now, not the list.
    void print();

private:
    FileContentsScreen(GatetallyState &state, Prompts &prompts, stored::FileLines *lines, QWidget *parent);

    GatetallyState &m_state;
    Prompts &m_prompts;
    QString m_path;
};

} // namespace gt
