// The main window's lighting: the report-rate buttons, the preview timer, and where the
// lighting panel (ui/lighting/) sits, in the lower part of the window.

#include "ui/main_window/main_window.h"

#include "session/session.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

constexpr int kPreviewFirstTickMs = 100;
constexpr int kPreviewTickMs = 50;

} // namespace

// Start-up, after the window's own controls: the lighting panel builds its controls here, on
// Core().Lighting().
void CKovantisDlg::BuildLightingPanel() {}

void CKovantisDlg::ShowLighting()
{
    const int rate = Core().Lighting().Look().reportRate;
    for (int i = 0; i < static_cast<int>(main_window::kReportRateKeys.size()); ++i)
        Control(main_window::kReportRateKeys[static_cast<size_t>(i)])->SetOn(i == rate);
}

void CKovantisDlg::PressReportRate(int index)
{
    jobs_.Run([this, index] { Core().Lighting().PressReportRate(index); });
    jobs_.WhenIdle([this] { ShowLighting(); });
}

void CKovantisDlg::UpdatePreviewTimer()
{
    // A hidden window, or one showing the function view, has no timer running at all.
    if (parts_ && Core().Lighting().PreviewShouldRun(isVisible())) {
        if (!previewTimer_.isActive())
            previewTimer_.start(kPreviewFirstTickMs);
    } else {
        previewTimer_.stop();
    }
}

void CKovantisDlg::PreviewTick()
{
    previewTimer_.setInterval(kPreviewTickMs);
    if (!jobs_.Busy())
        Core().Lighting().PreviewTick();
}

} // namespace kovantis
