#include "ui/lighting/user_mode_group.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

#include "lighting/lighting_panel_look.h"
#include "ui/common/qt_text.h"
#include "ui/lighting/panel_picture.h"
#include "ui/lighting/panel_style.h"
#include "ui/skin/c_base_dialog.h"
#include "ui/skin/c_skin_color_button.h"

namespace kovantis::ui {
namespace {

QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// In the order Control() lists the widgets.
constexpr std::array<std::string_view, 8> kControlKeys{
    "CONTROL_USERysStatic", "CONTROL_USERysButton", "CONTROL_USERjsStatic",  "CONTROL_USERjsButton",
    "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2", "CONTROL_umCombo"};

QLabel* NewLabel(CBaseDialog& dialog, std::string_view key, const QString& caption)
{
    auto* label = new QLabel(caption, &dialog);
    StylePanelLabel(*label);
    PlaceOnSkin(dialog, *label, key);
    return label;
}

} // namespace

UserModeGroup::UserModeGroup(CBaseDialog& dialog) : QObject(&dialog), dialog_(dialog)
{
    brushLabel_ = NewLabel(dialog, "CONTROL_USERysStatic", QStringLiteral("颜色"));
    baseLabel_ = NewLabel(dialog, "CONTROL_USERjsStatic", QStringLiteral("基色"));
    toolLabel_ = NewLabel(dialog, "CONTROL_USERgjStatic", QStringLiteral("工具"));

    brush_ = new CSkinColorButton(&dialog);
    PlaceOnSkin(dialog, *brush_, "CONTROL_USERysButton");
    connect(brush_, &CSkinColorButton::ColorChosen, this, &UserModeGroup::BrushColourChosen);
    base_ = new CSkinColorButton(&dialog);
    PlaceOnSkin(dialog, *base_, "CONTROL_USERjsButton");
    connect(base_, &CSkinColorButton::ColorChosen, this, &UserModeGroup::BaseColourChosen);

    const std::string_view toolKeys[2] = {"CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2"};
    for (int tool = 0; tool < 2; ++tool) {
        tools_[tool] = new PanelPicture(&dialog);
        PlaceOnSkin(dialog, *tools_[tool], toolKeys[tool]);
        connect(tools_[tool], &QAbstractButton::clicked, this, [this, tool] { emit ToolChosen(tool); });
    }

    combo_ = new PanelComboBox(&dialog);
    combo_->setEditable(true);
    // Typing names the current mode; it never adds a mode, and nothing completes the name
    // behind the user's back.
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setCompleter(nullptr);
    combo_->setMaxVisibleItems(kUserModeCount);
    PlaceOnSkin(dialog, *combo_, "CONTROL_umCombo");
    connect(combo_, &QComboBox::activated, this, [this](int mode) {
        if (mode != shownMode_)
            emit ModeChosen(mode);
    });
    // textEdited comes from the user's typing only, not from selecting or refilling the list.
    connect(combo_->lineEdit(), &QLineEdit::textEdited, this, &UserModeGroup::ModeRenamed);
    SetShown(false);
}

void UserModeGroup::SetShown(bool shown)
{
    for (QWidget* widget : std::initializer_list<QWidget*>{brushLabel_, brush_, baseLabel_, base_, toolLabel_, tools_[0],
                                                           tools_[1], combo_})
        ShowIfPlaced(widget, shown);
}

void UserModeGroup::Draw(const LightingPanelLook& look)
{
    SetShown(look.userModeGroupVisible);
    const UserModeView& modes = look.userModes;
    brush_->SetColor(ToQColor(modes.settings.brush));
    base_->SetColor(ToQColor(modes.settings.base));
    for (int tool = 0; tool < 2; ++tool) {
        const QString name = QString::fromStdString(look.toolPictures[static_cast<size_t>(tool)]);
        tools_[tool]->SetPicture(name, dialog_.Pictures().Picture(name.toStdString()));
    }

    const QSignalBlocker blocker(combo_);
    while (combo_->count() < kUserModeCount)
        combo_->addItem(QString());
    // Only names that differ are replaced: the one being typed already matches, so its edit
    // line keeps the cursor where the user has it.
    for (int i = 0; i < kUserModeCount; ++i) {
        const QString name = ToQString(modes.names[static_cast<size_t>(i)]);
        if (combo_->itemText(i) != name)
            combo_->setItemText(i, name);
    }
    if (modes.mode != shownMode_ || combo_->currentIndex() != modes.mode) {
        combo_->setCurrentIndex(modes.mode);
        shownMode_ = modes.mode;
    }
}

void UserModeGroup::SetLabels(const LightingLabels& labels)
{
    brushLabel_->setText(ToQString(labels.color));
    baseLabel_->setText(ToQString(labels.jcolor));
    toolLabel_->setText(ToQString(labels.tool));
}

QWidget* UserModeGroup::Control(std::string_view skinKey) const
{
    QWidget* const controls[] = {brushLabel_, brush_, baseLabel_, base_, toolLabel_, tools_[0], tools_[1], combo_};
    for (size_t i = 0; i < kControlKeys.size(); ++i) {
        if (kControlKeys[i] == skinKey)
            return controls[i];
    }
    return nullptr;
}

bool UserModeGroup::HasControl(std::string_view skinKey)
{
    return std::ranges::find(kControlKeys, skinKey) != kControlKeys.end();
}

} // namespace kovantis::ui
