#pragma once
// The pictures of one skinned window, loaded once each from the skin file's folder and shared
// by every control that shows them.

#include <array>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QPixmap>
#include <QRect>
#include <QSize>

#include "skin/skin_pictures.h"

namespace kovantis {

// A skin picture that is decoded the first time it is drawn. A window that starts hidden in
// the notification area then never pays for pictures nobody has seen; a missing or unreadable
// file is still found at once, from the file's header.
//
// The state pictures of a window (hover, pressed, disabled, ...) are window-sized, but each
// button shows only its own rectangle of them, and most of them only when the pointer is on it.
// Drawn through Draw(), such a picture is never decoded whole: the rows of the rectangle asked
// for are decoded, together with every other registered rectangle in those rows, and only these
// pieces are kept. A picture that is drawn whole anyway (the window's background) serves its
// pieces from the whole.
class SkinPicture {
public:
    SkinPicture() = default;
    SkinPicture(const QPixmap& pixmap);  // NOLINT: a decoded picture stands for itself
    static SkinPicture FromFile(std::string path);

    // Whether the picture can be read (header only for a file not decoded yet).
    bool Available() const;
    QSize Size() const;
    // The decoded picture; null when it cannot be read. Once asked for, pieces come from it.
    const QPixmap& Pixmap() const;

    // A rectangle some control will draw of this picture: decoded with its neighbours in a row.
    void AddPiece(const QRect& rect) const;
    // Draws `source` of the picture at `at`.
    void Draw(QPainter& painter, QPoint at, const QRect& source) const;
    // How many pieces are held (for tests).
    size_t PieceCount() const;
    bool DecodedWhole() const { return state_ && state_->decoded; }

private:
    struct RectOrder {
        bool operator()(const QRect& a, const QRect& b) const;
    };
    struct State {
        std::string path;
        bool decoded = false;
        QPixmap pixmap;
        std::vector<QRect> registered;
        std::map<QRect, QPixmap, RectOrder> pieces;
    };
    const QPixmap& Piece(const QRect& rect) const;

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
