#include "fail.h"

#include <cstdio>
#include <cstdlib>

void fail(const char* what) {
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}
