#pragma once

#include <QString>

namespace gt {

// Paths inside the data folder. They are written with the platform's own
// separators, since they are shown to the operator and stored in setup.txt.
QString setupFilePath(const QString &dataDir);
QString recordsDirPath(const QString &dataDir);
QString defaultAutosaveFile(const QString &dataDir);

// A path that ends in "default.txt" (exactly, case included) means no
// records file has been chosen yet.
bool isDefaultRecordsFile(const QString &path);

// The name of a records file as messages show it: relative to the Records
// folder for a file inside it, else the bare file name.
QString recordsFileName(const QString &dataDir, const QString &path);

// Title of a saved file for printed listings: its name without the
// extension, at most 30 characters.
QString recordsFileTitle(const QString &dataDir, const QString &path);

// Whether two paths name one file: the same absolute path, or, for files
// that exist, the same file behind links.
bool isSameFile(const QString &a, const QString &b);

// Whether setup.txt, an 8-bit (Latin-1) file, can hold this text as it is.
bool fitsLatin1(const QString &text);

} // namespace gt
