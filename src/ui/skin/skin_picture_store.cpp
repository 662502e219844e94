#include "ui/skin/skin_picture_store.h"

#include <algorithm>

#include <QImageReader>

namespace kovantis {

QPixmap LoadSkinPicture(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    return QPixmap::fromImage(reader.read());
}

QPixmap SkinPictureStore::Picture(std::string_view name) {
    auto found = loaded_.find(name);
    if (found == loaded_.end()) {
        found = loaded_.emplace(std::string(name), LoadSkinPicture(folder_ + std::string(name))).first;
    }
    return found->second;
}

QPixmap SkinPictureStore::PictureAt(const std::string& path) {
    if (!path.empty() && path.size() > folder_.size() && path.compare(0, folder_.size(), folder_) == 0) {
        return Picture(std::string_view(path).substr(folder_.size()));
    }
    return LoadSkinPicture(path);
}

bool SkinPictureStore::Require(std::span<const std::string_view> names) {
    return std::all_of(names.begin(), names.end(), [this](std::string_view name) { return !Picture(name).isNull(); });
}

StatePixmaps SkinPictureStore::Set(const StateSet& set) {
    StatePixmaps pixmaps;
    std::transform(set.begin(), set.end(), pixmaps.begin(), [this](std::string_view name) { return Picture(name); });
    return pixmaps;
}

} // namespace kovantis
