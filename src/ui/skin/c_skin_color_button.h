#pragma once
// A flat colour button: shows its colour, opens a colour chooser on click and reports the
// chosen colour.

#include <functional>
#include <optional>

#include <QAbstractButton>
#include <QColor>

namespace kovantis {

class CSkinColorButton : public QAbstractButton {
    Q_OBJECT
public:
    // Asks the user for a colour starting from `current`; nullopt when the user cancels.
    using ColorChooser = std::function<std::optional<QColor>(const QColor& current, QWidget* parent)>;

    explicit CSkinColorButton(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    QColor Color() const { return color_; }
    // Replaces the colour dialog (tests, or a window with its own chooser).
    void SetColorChooser(ColorChooser chooser) { chooser_ = std::move(chooser); }

    QSize sizeHint() const override { return {40, 20}; }

signals:
    void ColorChosen(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();

    QColor color_{Qt::red};
    ColorChooser chooser_;
};

} // namespace kovantis
