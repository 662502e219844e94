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

#include <QImage>
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
// pieces are kept.
//
// The window's background is drawn through DrawArea(): a band of rows at a time, straight from
// the file, keeping only the last band. What is on screen already sits in the window's backing
// store, and the controls on top paint themselves opaquely, so the background is only asked for
// again where something transparent changes or the window is shown anew. A picture whose format
// cannot decode part of itself is decoded whole instead, and then serves its pieces from the
// whole.
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
    // Draws `area` of the picture at the same place, in bands of rows decoded from the file.
    void DrawArea(QPainter& painter, const QRect& area) const;
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
        // Three bytes a pixel for an opaque picture: the pieces of the background alone cover a
        // third of the window.
        std::map<QRect, QImage, RectOrder> pieces;
        // Read once from the file's header while not decoded.
        QSize headerSize;
        bool decodesBands = false;
        // DrawArea's last band and its number.
        int bandNumber = -1;
        QImage band;
    };
    const QImage& Piece(const QRect& rect) const;
    const QImage& Band(int number, QSize size) const;

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
