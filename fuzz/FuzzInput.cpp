#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace gt::fuzz {

void fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace gt::fuzz
