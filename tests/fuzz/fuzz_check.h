#pragma once
// A property a fuzz target asserts: when it fails, the target stops with the input that broke
// it, whatever the build's NDEBUG.

#include <cstdlib>

namespace kovantis::fuzz {

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace kovantis::fuzz
