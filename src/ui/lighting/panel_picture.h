#pragma once
// A clickable picture of the lighting panel (lamp, direction, multicolour, colour and tool
// pictures): it shows one skin bitmap, which its owner exchanges to show its state.

#include <QAbstractButton>
#include <QPixmap>

namespace kovantis::ui {

class PanelPicture : public QAbstractButton {
    Q_OBJECT
public:
    explicit PanelPicture(QWidget* parent = nullptr);

    // The bitmap by file name, so that tests and the owner can tell what is shown.
    void SetPicture(const QString& name, const QPixmap& picture);
    const QString& PictureName() const { return name_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool tabbedTo_ = false;
    QString name_;
    QPixmap picture_;
};

} // namespace kovantis::ui
