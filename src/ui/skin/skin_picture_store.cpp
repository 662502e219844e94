#include "ui/skin/skin_picture_store.h"

#include <algorithm>

#include <QImageReader>

#include "platform/regular_file.h"

namespace kovantis {

QPixmap LoadSkinPicture(const std::string& path) {
    // A FIFO or a device named as a picture would block or never end.
    if (path.empty() || !IsRegularFile(path)) {
        return {};
    }
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    return QPixmap::fromImage(reader.read());
}

SkinPicture::SkinPicture(const QPixmap& pixmap) : state_(std::make_shared<State>()) {
    state_->decoded = true;
    state_->pixmap = pixmap;
}

SkinPicture SkinPicture::FromFile(std::string path) {
    SkinPicture picture;
    picture.state_ = std::make_shared<State>();
    picture.state_->path = std::move(path);
    return picture;
}

QSize SkinPicture::Size() const {
    if (!state_) {
        return {};
    }
    if (state_->decoded) {
        return state_->pixmap.size();
    }
    if (!IsRegularFile(state_->path)) {
        return {};
    }
    QImageReader reader(QString::fromStdString(state_->path));
    reader.setDecideFormatFromContent(true);
    return reader.canRead() ? reader.size() : QSize();
}

bool SkinPicture::Available() const {
    const QSize size = Size();
    return size.isValid() && !size.isEmpty();
}

const QPixmap& SkinPicture::Pixmap() const {
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

SkinPicture SkinPictureStore::Lazy(std::string_view name) {
    auto found = loaded_.find(name);
    if (found == loaded_.end()) {
        found = loaded_.emplace(std::string(name), SkinPicture::FromFile(folder_ + std::string(name))).first;
    }
    return found->second;
}

QPixmap SkinPictureStore::Picture(std::string_view name) {
    return Lazy(name).Pixmap();
}

SkinPicture SkinPictureStore::PictureAt(const std::string& path) {
    if (!path.empty() && path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0) {
        return Lazy(std::string_view(path).substr(folder_.size()));
    }
    return SkinPicture::FromFile(path);
}

bool SkinPictureStore::Require(std::span<const std::string_view> names) {
    return std::all_of(names.begin(), names.end(), [this](std::string_view name) { return Lazy(name).Available(); });
}

StatePixmaps SkinPictureStore::Set(const StateSet& set) {
    StatePixmaps pixmaps;
    std::transform(set.begin(), set.end(), pixmaps.begin(), [this](std::string_view name) { return Lazy(name); });
    return pixmaps;
}

} // namespace kovantis
