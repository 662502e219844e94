#include "cli/key_lookup.h"

#include <algorithm>

#include "keyboard/key_table.h"
#include "keyboard/physical_layout.h"
#include "platform/ini_file.h"

namespace kovantis::cli {
namespace {

// What two names that mean the same key have in common.
std::string Folded(std::string_view name)
{
    std::string folded;
    for (const char c : name) {
        if (c == ' ')
            continue;
        folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

std::vector<ListedKey> BuildList()
{
    std::vector<ListedKey> keys;
    for (const PhysicalKey& key : KeyList())
        keys.push_back({Utf16ToUtf8(KeyTableEntryOf(key.code).name), key.code, key.matrixIndex,
                        key.controlId});
    keys.push_back({"Fn", 0, kFnMatrixIndex, kFnControlId});
    return keys;
}

} // namespace

const std::vector<ListedKey>& ListedKeys()
{
    static const std::vector<ListedKey> keys = BuildList();
    return keys;
}

std::optional<ListedKey> FindKey(std::string_view name)
{
    const std::string wanted = Folded(name);
    if (wanted.empty())
        return std::nullopt;
    const auto& keys = ListedKeys();
    const auto found =
        std::find_if(keys.begin(), keys.end(), [&wanted](const ListedKey& key) { return Folded(key.name) == wanted; });
    if (found == keys.end())
        return std::nullopt;
    return *found;
}

} // namespace kovantis::cli
