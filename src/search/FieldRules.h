#pragma once

#include "SearchCriteria.h"

#include <QString>

namespace gt::search {

// What keeps each criteria field short and well-formed while the operator
// types. The key rule decides single keys before they reach the text; the
// change rule looks at the text after every change and names the first
// problem it finds.
struct FieldRule
{
    bool digitsOnly = true;
    QString keyMessage;           // shown for a refused key (and refused pasted text)
    int maxLength = -1;           // longest text allowed; -1: any
    QString lengthMessage;
    int maxValue = -1;            // largest value allowed; -1: no value check
    QString rangeMessage;
    bool refuseDoubleZero = false; // two characters spelling 0 ("00") are refused with rangeMessage
    bool refuseLoneZero = false;   // the text "0" is refused with zeroMessage
    QString zeroMessage;

    // Whether the character may be typed (backspace and other control keys always pass).
    bool acceptsKey(QChar key) const;
    // Whether the text could have been typed key by key.
    bool acceptsText(const QString &text) const;
    // The message of the first check the text fails, or an empty string.
    QString changeProblem(const QString &text) const;
};

FieldRule fieldRule(Field field, Twin twin);
QString fieldTooltip(Field field, Twin twin);

} // namespace gt::search
