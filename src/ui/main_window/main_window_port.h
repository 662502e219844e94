#pragma once
// What the core asks of the main window, one line per request: which handler of the window it
// reaches, sent (the caller waits) or posted (it does not). A new request is a method in
// ports/window_port.h, a line here and its handler in the window.

#include "ui/common/qt_window_port.h"
#include "ui/main_window/main_window.h"

namespace kovantis::ui {

class MainWindowPort final : public QtWindowPort {
public:
    explicit MainWindowPort(CKovantisDlg& window) : QtWindowPort(&window), w_(window) {}

    void ReloadActiveProfile() override { Send([this] { w_.OnReloadActiveProfile(); }); }
    void RefreshBankKeys(int bank) override { Send([this, bank] { w_.OnRefreshBankKeys(bank); }); }
    void PostOpen() override { Post([this] { w_.OnOpen(); }); }
    void PostLightingReread() override { Post([this] { w_.OnLightingReread(); }); }
    void PostHide() override { Post([this] { w_.OnHide(); }); }
    void PostTrayIcon(TrayIcon icon) override { Post([this, icon] { w_.OnTrayIcon(icon); }); }
    void PostApplyEnabled(bool on) override { Post([this, on] { w_.OnApplyEnabled(on); }); }
    void PostRefreshKeys() override { Post([this] { w_.OnRefreshKeys(); }); }
    void PostProgress(bool running) override { Post([this, running] { w_.OnProgress(running); }); }
    void PostProfileChecked(int profile) override { Post([this, profile] { w_.OnProfileChecked(profile); }); }
    void PostProfileCaption(const std::u16string& caption, const std::u16string& tooltip) override
    {
        Post([this, caption, tooltip] { w_.OnProfileCaption(caption, tooltip); });
    }

private:
    CKovantisDlg& w_;
};

} // namespace kovantis::ui
