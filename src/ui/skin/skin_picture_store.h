#pragma once
// The pictures of one skinned window, loaded once each from the skin file's folder and shared
// by every control that shows them.

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include <QPixmap>
#include <QSize>

#include "skin/skin_pictures.h"

namespace kovantis {

// A skin picture that is decoded the first time it is drawn. A window that starts hidden in
// the notification area then never pays for pictures nobody has seen; a missing or unreadable
// file is still found at once, from the file's header.
class SkinPicture {
public:
    SkinPicture() = default;
    SkinPicture(const QPixmap& pixmap);  // NOLINT: a decoded picture stands for itself
    static SkinPicture FromFile(std::string path);

    // Whether the picture can be read (header only for a file not decoded yet).
    bool Available() const;
    QSize Size() const;
    // The decoded picture; null when it cannot be read.
    const QPixmap& Pixmap() const;

private:
    struct State {
        std::string path;
        bool decoded = false;
        QPixmap pixmap;
    };
    std::shared_ptr<State> state_;
};

using StatePixmaps = std::array<SkinPicture, kPictureSlotCount>;

class SkinPictureStore {
public:
    explicit SkinPictureStore(std::string folder) : folder_(std::move(folder)) {}

    // Checks that each named picture can be read; false when any of them cannot.
    bool Require(std::span<const std::string_view> names);
    // A picture by file name, decoded; a null pixmap when it cannot be loaded.
    QPixmap Picture(std::string_view name);
    // The same picture, decoded only when first drawn.
    SkinPicture Lazy(std::string_view name);
    // A picture by full path: shared with the named pictures when it lies in the folder.
    SkinPicture PictureAt(const std::string& path);
    // The five pictures of a state set.
    StatePixmaps Set(const StateSet& set);

private:
    std::string folder_;
    std::map<std::string, SkinPicture, std::less<>> loaded_;
};

// Loads a picture file; a null pixmap when it is missing or unreadable.
QPixmap LoadSkinPicture(const std::string& path);

} // namespace kovantis
