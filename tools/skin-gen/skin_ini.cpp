#include "skin_ini.h"

#include <algorithm>
#include <fstream>

namespace skingen {
namespace {

std::string RectValue(int x, int y, int w, int h)
{
    return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," + std::to_string(h);
}

} // namespace

void SkinIni::Set(const std::string& section, const std::string& key, const std::string& value)
{
    auto found = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) { return s.first == section; });
    if (found == sections_.end()) {
        sections_.push_back({section, {}});
        found = sections_.end() - 1;
    }
    found->second.emplace_back(key, value);
}

void SkinIni::Image(const std::string& key, const QRect& pictureRect)
{
    Set("BUTTONINFO", key, RectValue(pictureRect.x() + 1, pictureRect.y() + 1, pictureRect.width(), pictureRect.height()));
}

void SkinIni::Plain(const std::string& key, const QRect& rect)
{
    Set("BUTTONINFO", key, RectValue(rect.x(), rect.y(), rect.width(), rect.height()));
}

void SkinIni::Origin(const std::string& key, const QPoint& pictureTopLeft, const QSize& size)
{
    Set("BUTTONINFO2", key, RectValue(pictureTopLeft.x() + 1, pictureTopLeft.y() + 1, size.width(), size.height()));
}

bool SkinIni::Save(const std::string& path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "; Default skin of Kovantis, drawn by skin-gen at build time.\n";
    for (const auto& [section, entries] : sections_) {
        out << "\n[" << section << "]\n";
        for (const auto& [key, value] : entries) {
            out << key << "=" << value << "\n";
        }
    }
    return static_cast<bool>(out.flush());
}

} // namespace skingen
