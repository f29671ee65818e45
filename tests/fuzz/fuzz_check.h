#pragma once
// The fuzz targets' assertion: a broken property is reported on stderr and
// the process aborts, which libFuzzer (and the corpus replay) records as a
// crash with the input that caused it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                    \
  do {                                                                           \
    if (!(condition)) {                                                          \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__,   \
                   #condition);                                                  \
      std::abort();                                                              \
    }                                                                            \
  } while (false)
