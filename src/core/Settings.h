#pragma once

#include <QString>
#include <optional>

namespace gt {

class GatetallyState;

enum class SettingsLoad {
    Read,     // setup.txt was read
    Defaults, // setup.txt was missing or unreadable; a default one was made
};

// Fills the settings of the state from setup.txt, or writes the default file
// (and makes the Records folder) when it cannot be read. *error receives the
// reason when even the default file could not be written. A setup.txt that
// is there but cannot be read is first copied to setup.txt.unreadable;
// *notice then receives what the operator is to be told.
SettingsLoad loadSettings(GatetallyState &state, QString *error = nullptr, QString *notice = nullptr);

// What one settings writer changes; everything it leaves unset is taken
// from the file as it stands (or from memory when the file cannot be read).
// The entry point names always come from memory.
struct SettingsChange
{
    std::optional<int> commPort;
    std::optional<bool> autosave;
    std::optional<QString> autosaveFile;
};

// Rewrites setup.txt whole. The new file is written completely before it
// replaces the old one, so a failure leaves the old settings intact.
bool rewriteSettings(GatetallyState &state, const SettingsChange &change, QString *error = nullptr);

// Re-reads lines 1 to 3 of setup.txt into strSetupLine1, strSetupLine2 and
// strAutosaveFile: someone may have edited the file while the program ran,
// and its lines win over memory, as they would at the next start. Returns
// false, leaving memory as it was, when the file cannot be read.
bool rereadSettingsLines(GatetallyState &state);

// Line 1 for a port number.
QString commPortLine(int port);

} // namespace gt
