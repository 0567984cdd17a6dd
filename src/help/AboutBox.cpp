#include "AboutBox.h"

#include "Version.h"

#include <QLabel>
#include <QVBoxLayout>

namespace gt {

AboutBox::AboutBox(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));

    auto make = [this](const QString &name, const QString &text, qreal scale, bool bold) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        QFont f = l->font();
        f.setPointSizeF(f.pointSizeF() * scale);
        f.setBold(bold);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    lblName = make(QStringLiteral("lblName"), QStringLiteral("Quorvel Gatetally"), 1.6, true);
    lblVersion = make(QStringLiteral("lblVersion"), versionCaption(), 1.0, false);
    lblCoprright = make(QStringLiteral("lblCoprright"), QStringLiteral("Copyright Quorvel, Inc. All rights reserved."),
                        0.9, false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(10);
    layout->addWidget(lblName);
    layout->addWidget(lblVersion);
    layout->addWidget(lblCoprright);
    setFixedSize(sizeHint());
}

} // namespace gt
