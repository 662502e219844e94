#pragma once
// The pictures of one skinned window, loaded once each from the skin file's folder and shared
// by every control that shows them.

#include <array>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include <QPixmap>

#include "skin/skin_pictures.h"

namespace kovantis {

using StatePixmaps = std::array<QPixmap, kPictureSlotCount>;

class SkinPictureStore {
public:
    explicit SkinPictureStore(std::string folder) : folder_(std::move(folder)) {}

    // Loads each named picture; false when any of them cannot be loaded.
    bool Require(std::span<const std::string_view> names);
    // A picture by file name; a null pixmap when it cannot be loaded.
    QPixmap Picture(std::string_view name);
    // A picture by full path: shared with the named pictures when it lies in the folder.
    QPixmap PictureAt(const std::string& path);
    // The five pictures of a state set.
    StatePixmaps Set(const StateSet& set);

private:
    std::string folder_;
    std::map<std::string, QPixmap, std::less<>> loaded_;
};

// Loads a picture file; a null pixmap when it is missing or unreadable.
QPixmap LoadSkinPicture(const std::string& path);

} // namespace kovantis
