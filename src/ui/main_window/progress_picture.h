#pragma once
// The progress picture of a long download: frames jdt1.bmp to jdt10.bmp in turn every 50 ms
// while it runs; it disappears 100 ms after the download ends.

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <vector>

namespace kovantis {
class SkinPictureStore;
}

namespace kovantis::ui {

class ProgressPicture : public QLabel {
    Q_OBJECT
public:
    ProgressPicture(SkinPictureStore& pictures, QWidget* parent);

    void Start();
    void Stop();
    bool Running() const { return timer_.isActive(); }
    int Frame() const { return frame_; }

private:
    void NextFrame();

    std::vector<QPixmap> frames_;
    QTimer timer_;
    int frame_ = 0;
    int generation_ = 0;  // a Stop only ends the run it was meant for
};

} // namespace kovantis::ui
