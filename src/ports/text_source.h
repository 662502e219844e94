#pragma once
// Where user-visible texts come from: the language table implements it, tests pass a map.
// Texts are read at the moment they are shown, so a language change applies at once.

#include <string>
#include <string_view>

namespace kovantis {

class TextSource {
public:
    virtual ~TextSource() = default;
    // The current text of a language key (a slot of the language table or any other key of the
    // chosen language section); empty when the key is missing.
    virtual std::u16string Text(std::string_view key) const = 0;
    // The same, or `english` when the language file has no such text.
    std::u16string TextOr(std::string_view key, std::u16string_view english) const
    {
        std::u16string text = Text(key);
        return text.empty() ? std::u16string(english) : text;
    }
};

} // namespace kovantis
