#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>

namespace gt {

// Controls carrying the object names that tests and the flow know them by.
inline QLabel *namedLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QPushButton *namedButton(QWidget *parent, const QString &name, const QString &text, const QString &tip)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

} // namespace gt
