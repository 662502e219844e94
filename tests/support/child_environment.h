#pragma once
// What the tests' child processes are started with: this process's environment with some
// variables set over it, and the null-terminated pointer lists posix_spawn takes.

#include <map>
#include <string>
#include <unistd.h>  // environ
#include <vector>

namespace kovantis::testing {

// Every variable of this process's environment that `over` does not name, then `over`'s.
inline std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& over)
{
    std::vector<std::string> merged;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        if (!over.contains(entry.substr(0, entry.find('='))))
            merged.push_back(entry);
    }
    for (const auto& [name, value] : over)
        merged.push_back(name + "=" + value);
    return merged;
}

// Pointers into `texts`, followed by a null: valid while `texts` is unchanged.
inline std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace kovantis::testing
