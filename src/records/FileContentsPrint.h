#pragma once

#include <QString>

namespace gt {

class Prompts;

// Prints the file contents listing of a stored records file: the file is
// read afresh from disk, titled with `title`. Returns true when it was
// printed; a cancelled print dialog prints nothing and says nothing, any
// other failure is told through the prompts.
bool printFileContents(Prompts &prompts, const QString &path, const QString &title);

} // namespace gt
