#include "ui/main_window/keyboard_view.h"

#include "ui/common/qt_text.h"

#include "skin/skin_pictures.h"
#include "ui/skin/c_base_dialog.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::ui {
namespace {

const StateSet& SetOf(KeyPictureSet set)
{
    return set == KeyPictureSet::Editing ? kMainEditingSet : kMainKeySet;
}

// The bank label sits at the right end of the key, clear of the key's own name.
CaptionStyle BankLabelStyle()
{
    CaptionStyle style;
    style.points = 8;
    style.red = style.green = style.blue = 255;
    style.marginRight = -7;
    style.format = kCaptionRight | kCaptionVCenter | kCaptionSingleLine;
    return style;
}

} // namespace

KeyboardView::KeyboardView(CBaseDialog& dialog, const KeyboardViewModel& model)
    : QObject(&dialog), dialog_(dialog), model_(model)
{
    for (const KeyButtonState& state : model_.Buttons()) {
        auto* button = new CPngButton(&dialog_);
        const SkinRect rect = dialog_.Skin().Rect(state.skinKey);
        button->SetPictures(dialog_.Pictures().Set(kMainKeySet));
        button->ApplySkinRect(rect);
        Entry entry;
        entry.button = button;
        entry.absent = rect.IsAbsent();
        if (state.kind == KeyButtonKind::GKey) {
            button->SetCaptionStyle(BankLabelStyle());
            button->SetCaptionShown(true);
        }
        const int id = state.controlId;
        connect(button, &CPngButton::clicked, this, [this, id] { emit Clicked(id); });
        entries_.emplace(id, entry);
    }
    Show();
}

void KeyboardView::Show()
{
    for (const KeyButtonState& state : model_.Buttons()) {
        Entry& entry = entries_.at(state.controlId);
        CPngButton& button = *entry.button;
        if (entry.shown != state.pictures) {
            button.SetPictures(dialog_.Pictures().Set(SetOf(state.pictures)));
            entry.shown = state.pictures;
        }
        button.SetOn(state.assigned);
        button.SetTipText(ToQString(state.tooltip));
        button.setText(ToQString(state.caption));
        button.setEnabled(!entry.absent && state.usable);
        // The window's pictures show a disabled key like a usable one; F1 to F4 while flipped
        // and D1 to D6 while not must look out of use, not merely be dead.
        button.SetDimmed(!entry.absent && !state.usable);
    }
}

CPngButton* KeyboardView::ButtonOf(int controlId) const
{
    const auto found = entries_.find(controlId);
    return found == entries_.end() ? nullptr : found->second.button;
}

} // namespace kovantis::ui
