// The main window's lighting: the lighting panel (ui/lighting/) in the lower part of the window,
// drawing on the keyboard picture's key buttons.

#include "ui/main_window/main_window.h"

#include "lighting/lighting_controller.h"
#include "session/session.h"
#include "ui/lighting/lighting_panel.h"
#include "ui/main_window/keyboard_view.h"

namespace kovantis {

// Start-up, after the window's own controls and the keyboard picture.
void CKovantisDlg::BuildLightingPanel()
{
    lighting_ = new ui::LightingPanel(*this, Core().Lighting(), jobs_);
    std::vector<ui::KeyPicture> keys;
    for (const KeyButtonState& state : viewModel_.Buttons())
        keys.push_back({state.controlId, keyboardView_->ButtonOf(state.controlId)});
    lighting_->AttachKeyPictures(keys);
    // Back in the function view the keys show what they do, from the data as it is now.
    connect(lighting_, &ui::LightingPanel::LightingViewChanged, this, [this](bool on) {
        if (!on)
            RefreshKeyView();
    });
    // One box at a time: changes made while it is up would otherwise stack more behind it.
    connect(lighting_, &ui::LightingPanel::ChangeFailed, this, [this](int result) {
        if (lightingFailureShown_)
            return;
        lightingFailureShown_ = true;
        Ask().ShowMessage(LightingChangeFailedMessage(result, Core().Texts()));
        lightingFailureShown_ = false;
    });
}

void CKovantisDlg::ShowLighting()
{
    lighting_->Redraw();
}

} // namespace kovantis
