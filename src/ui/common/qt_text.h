#pragma once
// The core keeps user-visible texts as UTF-16; Qt takes them without conversion.

#include <QString>

#include <string>

namespace kovantis::ui {

inline QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kovantis::ui
