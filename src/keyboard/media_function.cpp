#include "keyboard/media_function.h"

namespace kovantis {
namespace {

constexpr std::array<std::string_view, kMediaFunctionCount> Keys()
{
    std::array<std::string_view, kMediaFunctionCount> keys{};
    for (int i = 0; i < kMediaFunctionCount; ++i) keys[i] = kMediaFunctions[i].languageKey;
    return keys;
}

constexpr std::array<std::u16string_view, kMediaFunctionCount> Initial()
{
    std::array<std::u16string_view, kMediaFunctionCount> names{};
    names.fill(u"Hello world");
    return names;
}

} // namespace

MediaFunctionNames::MediaFunctionNames() : NameBuffers(Keys(), Initial()) {}

} // namespace kovantis
