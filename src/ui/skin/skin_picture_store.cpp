#include "ui/skin/skin_picture_store.h"

#include <algorithm>
#include <tuple>

#include <QImageReader>
#include <QPainter>

#include "platform/regular_file.h"

namespace kovantis {
namespace {

// Rows a band of the background holds: 300 KiB of a 1200-pixel-wide window, and few enough
// bands that decoding a picture band by band costs about three times decoding it whole.
constexpr int kBandRows = 64;

} // namespace

QPixmap LoadSkinPicture(const std::string& path)
{
    // A FIFO or a device named as a picture would block or never end.
    if (path.empty() || !IsRegularFile(path)) {
        return {};
    }
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    return QPixmap::fromImage(reader.read());
}

SkinPicture::SkinPicture(const QPixmap& pixmap) : state_(std::make_shared<State>())
{
    state_->decoded = true;
    state_->pixmap = pixmap;
}

SkinPicture SkinPicture::FromFile(std::string path)
{
    SkinPicture picture;
    picture.state_ = std::make_shared<State>();
    picture.state_->path = std::move(path);
    return picture;
}

QSize SkinPicture::Size() const
{
    if (!state_) {
        return {};
    }
    if (state_->decoded) {
        return state_->pixmap.size();
    }
    if (state_->headerSize.isValid()) {
        return state_->headerSize;
    }
    if (!IsRegularFile(state_->path)) {
        return {};
    }
    QImageReader reader(QString::fromStdString(state_->path));
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        return {};
    }
    state_->headerSize = reader.size();
    // JPEG decodes a rectangle of itself without decoding the whole first; PNG and BMP would
    // decode the whole for every band.
    state_->decodesBands = reader.supportsOption(QImageIOHandler::ClipRect);
    return state_->headerSize;
}

bool SkinPicture::Available() const
{
    const QSize size = Size();
    return size.isValid() && !size.isEmpty();
}

const QPixmap& SkinPicture::Pixmap() const
{
    static const QPixmap none;
    if (!state_) {
        return none;
    }
    if (!state_->decoded) {
        state_->pixmap = LoadSkinPicture(state_->path);
        state_->decoded = true;
    }
    return state_->pixmap;
}

bool SkinPicture::RectOrder::operator()(const QRect& a, const QRect& b) const
{
    return std::tuple(a.y(), a.x(), a.height(), a.width()) < std::tuple(b.y(), b.x(), b.height(), b.width());
}

void SkinPicture::AddPiece(const QRect& rect) const
{
    if (!state_ || rect.isEmpty() || std::ranges::find(state_->registered, rect) != state_->registered.end()) {
        return;
    }
    state_->registered.push_back(rect);
}

size_t SkinPicture::PieceCount() const
{
    return state_ ? state_->pieces.size() : 0;
}

void SkinPicture::Draw(QPainter& painter, QPoint at, const QRect& source) const
{
    if (!state_) {
        return;
    }
    if (state_->decoded || state_->path.empty()) {
        painter.drawPixmap(at, state_->pixmap, source);
        return;
    }
    painter.drawImage(at, Piece(source));
}

void SkinPicture::DrawArea(QPainter& painter, const QRect& area) const
{
    if (!state_) {
        return;
    }
    State& state = *state_;
    const QSize size = Size();  // also learns whether the format decodes bands
    if (state.decoded || !state.decodesBands) {
        painter.drawPixmap(area.topLeft(), Pixmap(), area);
        return;
    }
    const QRect wanted = area.intersected(QRect(QPoint(0, 0), size));
    if (wanted.isEmpty()) {
        return;
    }
    for (int number = wanted.top() / kBandRows; number * kBandRows <= wanted.bottom(); ++number) {
        const QRect part = wanted.intersected(QRect(0, number * kBandRows, size.width(), kBandRows));
        painter.drawImage(part.topLeft(), Band(number, size), part.translated(0, -number * kBandRows));
    }
}

const QImage& SkinPicture::Band(int number, QSize size) const
{
    State& state = *state_;
    if (state.bandNumber == number) {
        return state.band;
    }
    // The old band goes first, so that two are never held at once.
    state.band = QImage();
    state.bandNumber = number;
    if (IsRegularFile(state.path)) {
        QImageReader reader(QString::fromStdString(state.path));
        reader.setDecideFormatFromContent(true);
        reader.setClipRect(QRect(0, number * kBandRows, size.width(), std::min(kBandRows, size.height() - number * kBandRows)));
        state.band = reader.read();
    }
    return state.band;
}

const QImage& SkinPicture::Piece(const QRect& rect) const
{
    State& state = *state_;
    if (const auto found = state.pieces.find(rect); found != state.pieces.end()) {
        return found->second;
    }
    // The rows of the rectangle, grown by every registered rectangle that shares one of them:
    // a keyboard row is decoded once for all its keys.
    int top = rect.top();
    int bottom = rect.bottom();
    int left = rect.left();
    int right = rect.right();
    std::vector<QRect> band{rect};
    for (bool grown = true; grown;) {
        grown = false;
        for (const QRect& r : state.registered) {
            if (r.top() > bottom || r.bottom() < top || std::ranges::find(band, r) != band.end() ||
                state.pieces.contains(r)) {
                continue;
            }
            band.push_back(r);
            grown = grown || r.top() < top || r.bottom() > bottom;
            top = std::min(top, r.top());
            bottom = std::max(bottom, r.bottom());
            left = std::min(left, r.left());
            right = std::max(right, r.right());
        }
    }
    QImage rows;
    if (IsRegularFile(state.path)) {
        QImageReader reader(QString::fromStdString(state.path));
        reader.setDecideFormatFromContent(true);
        const QRect clip = QRect(QPoint(left, top), QPoint(right, bottom)).intersected(QRect(QPoint(0, 0), reader.size()));
        if (!clip.isEmpty()) {
            reader.setClipRect(clip);
            rows = reader.read();
            for (const QRect& r : band) {
                const QImage piece = rows.copy(r.translated(-clip.topLeft()));
                state.pieces.emplace(r, piece.hasAlphaChannel() ? piece : piece.convertToFormat(QImage::Format_RGB888));
            }
        }
    }
    return state.pieces.try_emplace(rect).first->second;
}

SkinPicture SkinPictureStore::Lazy(std::string_view name)
{
    auto found = loaded_.find(name);
    if (found == loaded_.end()) {
        found = loaded_.emplace(std::string(name), SkinPicture::FromFile(folder_ + std::string(name))).first;
    }
    return found->second;
}

QPixmap SkinPictureStore::Picture(std::string_view name)
{
    return Lazy(name).Pixmap();
}

SkinPicture SkinPictureStore::PictureAt(const std::string& path)
{
    if (!path.empty() && path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0) {
        return Lazy(std::string_view(path).substr(folder_.size()));
    }
    return SkinPicture::FromFile(path);
}

bool SkinPictureStore::Require(std::span<const std::string_view> names)
{
    return std::all_of(names.begin(), names.end(), [this](std::string_view name) { return Lazy(name).Available(); });
}

StatePixmaps SkinPictureStore::Set(const StateSet& set)
{
    StatePixmaps pixmaps;
    std::transform(set.begin(), set.end(), pixmaps.begin(), [this](std::string_view name) { return Lazy(name); });
    return pixmaps;
}

} // namespace kovantis
