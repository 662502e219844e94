#pragma once
// A fixed set of display names that start out as built-in texts and are refilled from the
// language table whenever it loads. Each name is held as the program's 108-character buffers
// hold it: at most 107 characters, the rest cut off.

#include <array>
#include <string>
#include <string_view>

#include "ports/text_source.h"

namespace kovantis {

inline constexpr size_t kNameBufferChars = 107;

template <size_t N>
class NameBuffers {
public:
    NameBuffers(const std::array<std::string_view, N>& keys, const std::array<std::u16string_view, N>& initial)
        : keys_(keys)
    {
        for (size_t i = 0; i < N; ++i) {
            names_[i] = std::u16string(initial[i].substr(0, kNameBufferChars));
        }
    }

    void Load(const TextSource& texts)
    {
        for (size_t i = 0; i < N; ++i) {
            names_[i] = texts.Text(keys_[i]).substr(0, kNameBufferChars);
        }
    }

    // Empty for an index outside the set, which only a damaged record can hold.
    std::u16string_view Name(int index) const
    {
        return index >= 0 && static_cast<size_t>(index) < N ? std::u16string_view(names_[index]) : std::u16string_view();
    }

private:
    std::array<std::string_view, N> keys_;
    std::array<std::u16string, N> names_;
};

} // namespace kovantis
