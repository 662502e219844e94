#pragma once
// A language table stand-in: the texts a test gives, empty for any other key.

#include <map>
#include <string>
#include <string_view>

#include "ports/text_source.h"

namespace kovantis::test {

class MapTexts : public TextSource {
public:
    MapTexts() = default;
    MapTexts(std::initializer_list<std::pair<const std::string, std::u16string>> texts) : texts_(texts) {}

    std::u16string Text(std::string_view key) const override
    {
        const auto it = texts_.find(key);
        return it != texts_.end() ? it->second : std::u16string();
    }

private:
    std::map<std::string, std::u16string, std::less<>> texts_;
};

// The built-in texts of the prompts an assignment text is made of.
inline MapTexts DefaultPrompts()
{
    return {{"KEY_PROMPT_SET", u"Keys, Set: "},  {"KEY_PROMPT_SINGLE", u"Key("},
            {"KEY_PROMPT_MACRO", u"Macro("},     {"KEY_PROMPT_MEDIA", u"Media("},
            {"KEY_PROMPT_FUNCTION", u"Function("}, {"UNKNOWN_KEY", u"Unknown Key: %03x"}};
}

} // namespace kovantis::test
