#pragma once

#include "Listing.h"

#include <functional>

class QPrinter;

namespace gt {
class Prompts;
}

namespace gt::results {

// Every File > Print of the program runs through here:
//
//     printListing(prompts, [&](QString *problem) {
//         return fileContentsListing(path, title, state.clock.now(), problem);
//     });
//
// The print dialog comes first (prompts.choosePrinter()); cancelling it ends
// the command without a word. Then the listing is built, so that its lines
// and its printed-at stamp are those of the moment printing starts, and it
// goes to the printer chosen. A listing that cannot be built (the builder
// puts a message in *problem) or a printer that cannot be used is told to
// the operator, with the name and the reason. Returns whether it printed.
using ListingBuilder = std::function<Listing(QString *problem)>;
bool printListing(Prompts &prompts, const ListingBuilder &build);
// The same for a listing already built (a help text as it stands).
bool printListing(Prompts &prompts, const Listing &listing);

// Puts the listing on the printer as one job: line by line from the top of
// the printable area, continuing on a new page when a line no longer fits,
// words of fixed-pitch lines placed at their exact character columns, lines
// wider than the page continued on the next line rather than cut off.
// Returns an empty string when done, else what went wrong.
QString renderListing(const Listing &listing, QPrinter &printer);

} // namespace gt::results
