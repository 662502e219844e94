#include "ui/main_window/progress_picture.h"

#include "skin/skin_pictures.h"
#include "ui/skin/skin_picture_store.h"

namespace kovantis::ui {
namespace {

constexpr int kFramePeriodMs = 50;
constexpr int kLingerMs = 100;

} // namespace

ProgressPicture::ProgressPicture(SkinPictureStore& pictures, QWidget* parent) : QLabel(parent)
{
    for (int frame = 1; frame <= kProgressFrameCount; ++frame)
        frames_.push_back(pictures.Picture(ProgressFramePicture(frame)));
    setScaledContents(true);
    timer_.setInterval(kFramePeriodMs);
    connect(&timer_, &QTimer::timeout, this, &ProgressPicture::NextFrame);
    hide();
}

void ProgressPicture::Start()
{
    ++generation_;
    frame_ = 0;
    setPixmap(frames_.front());
    show();
    raise();
    timer_.start();
}

void ProgressPicture::Stop()
{
    const int run = generation_;
    QTimer::singleShot(kLingerMs, this, [this, run] {
        if (run != generation_)
            return;
        timer_.stop();
        hide();
    });
}

void ProgressPicture::NextFrame()
{
    frame_ = (frame_ + 1) % static_cast<int>(frames_.size());
    setPixmap(frames_[static_cast<size_t>(frame_)]);
}

} // namespace kovantis::ui
