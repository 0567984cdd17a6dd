#pragma once

#include <QString>

namespace gt {

class GatetallyState;

namespace names {

// Entry points 1 to 100 have names; each name is at most 10 characters.
inline constexpr int kEntryPoints = 100;
inline constexpr int kNameLength = 10;

// The messages of the editor.
QString upperLimitMessage();   // up arrow at 100
QString lowerLimitMessage();   // down arrow at 1
QString tooHighMessage();      // a number above 100
QString invalidMessage();      // 0, below 1, or not a number
QString tooLongMessage();      // an 11th character
QString unstorableMessage();   // a character setup.txt cannot hold
// A failed rewrite of setup.txt: the editor's own words, then the file and
// the system's reason.
QString fileProblemMessage(const QString &dataDir, const QString &reason);

// The number at the start of a text, as the number box is read: blanks
// anywhere are ignored, reading stops at the first character that cannot
// continue the number, and a text that does not start with one is 0.
double leadingNumber(const QString &text);

// The number box read as an entry point.
struct NumberReading
{
    enum Kind { Empty, EntryPoint, TooHigh, Invalid };
    Kind kind = Empty;
    double value = 0;
    int row = -1; // strEntryNames index, 0 to 99, for EntryPoint
    // The message for TooHigh and Invalid; empty otherwise.
    QString message() const;
};
// Row of a number v: the whole number nearest to v - 1, a half going to
// the even neighbour. A number whose row would fall outside the table is
// invalid, so only names 1 to 100 are ever touched.
NumberReading readNumber(const QString &text);

// What an arrow does with the number box's text: either a new text or a
// message (the text then stays).
struct Step
{
    QString text;
    QString message;
};
Step stepUp(const QString &numberText);
Step stepDown(const QString &numberText);

// The text after Apply: the next number, or the same text at 100.
QString nextAfterApply(const QString &numberText);

// What a name box may keep of a changed text: characters that an 8-bit
// setup.txt line cannot hold (beyond Latin-1, or control characters that
// would break the line structure) are dropped; a text with none of those is
// cut to 10 characters. The message says why, or is empty when nothing was
// changed.
struct NameFit
{
    QString text;
    QString message;
};
NameFit fitName(const QString &text);

// Apply: stores the name of the row in strEntryNames and rewrites
// setup.txt (lines 1 to 3 kept). On failure the name stays stored for this
// run and *message gets what to tell the operator.
bool storeName(GatetallyState &state, int row, const QString &name, QString *message);

} // namespace names
} // namespace gt
