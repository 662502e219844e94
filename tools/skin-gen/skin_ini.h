#pragma once
// Builds a skin file: sections in the order they were first used, keys in insertion order.

#include <string>
#include <utility>
#include <vector>

#include <QPoint>
#include <QRect>

namespace skingen {

class SkinIni {
public:
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // An image control drawn at `pictureRect` of the state pictures. It shows its pictures from
    // (x - 1, y - 1), so it sits one pixel right of and below what was drawn.
    void Image(const std::string& key, const QRect& pictureRect);
    // A plain control placed exactly at `rect`.
    void Plain(const std::string& key, const QRect& rect);
    // A picture origin in BUTTONINFO2 for a picture drawn at `pictureTopLeft` of its own file.
    void Origin(const std::string& key, const QPoint& pictureTopLeft, const QSize& size);

    bool Save(const std::string& path) const;

private:
    using Section = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;
    std::vector<Section> sections_;
};

} // namespace skingen
