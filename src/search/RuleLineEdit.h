#pragma once

#include "FieldRules.h"

#include <QLineEdit>

namespace gt {

class Prompts;

// A criteria field that holds itself to its field rule: refused keys never
// reach the text, pasted or dropped text loses its tabs and line breaks (as
// typing them would) and is taken back, with the key rule's message, when
// the rest could not have been typed, and a text that breaks the change rule
// is reported once and emptied whole.
class RuleLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    RuleLineEdit(const search::FieldRule &rule, Prompts &prompts, QWidget *parent = nullptr);

    const search::FieldRule &rule() const { return m_rule; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onTextChanged(const QString &text);
    void refuse(const QString &message);

    search::FieldRule m_rule;
    Prompts &m_prompts;
    QString m_accepted;
    bool m_restoring = false;
};

} // namespace gt
