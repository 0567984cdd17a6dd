#include "RuleLineEdit.h"

#include "Prompts.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace gt {

RuleLineEdit::RuleLineEdit(const search::FieldRule &rule, Prompts &prompts, QWidget *parent)
    : QLineEdit(parent), m_rule(rule), m_prompts(prompts)
{
    connect(this, &QLineEdit::textChanged, this, &RuleLineEdit::onTextChanged);
}

void RuleLineEdit::keyPressEvent(QKeyEvent *event)
{
    // Shortcuts (Ctrl+V and the like) are commands, not typed characters;
    // what they change is checked when the text changes.
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const QString typed = event->text();
    if (!shortcut && typed.size() == 1 && !m_rule.acceptsKey(typed.at(0))) {
        event->accept();
        refuse(m_rule.keyMessage);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void RuleLineEdit::refuse(const QString &message)
{
    m_prompts.inform(message);
    setFocus();
}

void RuleLineEdit::onTextChanged(const QString &text)
{
    if (m_restoring)
        return;
    // A pasted spreadsheet cell brings its tab or line break along; typed,
    // those keys never reach the text, so they are dropped here as well.
    QString cleaned = text;
    cleaned.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    if (cleaned != text) {
        {
            const QSignalBlocker guard(this);
            setText(cleaned);
        }
        onTextChanged(cleaned);
        return;
    }
    if (!m_rule.acceptsText(text)) {
        // Pasted or dropped text is held to the key rule: the field keeps
        // what it had.
        {
            const QSignalBlocker guard(this);
            m_restoring = true;
            setText(m_accepted);
            m_restoring = false;
        }
        refuse(m_rule.keyMessage);
        return;
    }
    const QString problem = m_rule.changeProblem(text);
    if (problem.isEmpty()) {
        m_accepted = text;
        return;
    }
    // Emptying the field runs the rule again on the empty text, which passes,
    // so one change gives one message.
    m_prompts.inform(problem);
    clear();
    setFocus();
}

} // namespace gt
