#pragma once
// The window port on Qt: every call is carried to the UI thread. "Sent" calls block until the
// main window has handled them (Qt::BlockingQueuedConnection); "posted" calls are queued. A call
// made on the UI thread itself runs at once, so nothing ever waits for itself.

#include "ports/window_port.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <string>

namespace kovantis::ui {

// The part of the main window the port drives.
class WindowPortTarget {
public:
    virtual ~WindowPortTarget() = default;
    virtual void OnReloadActiveProfile() = 0;
    virtual void OnCloseEditors() = 0;
    virtual void OnRefreshBankKeys(int bank) = 0;
    virtual void OnOpen() = 0;
    virtual void OnLightingReread() = 0;
    virtual void OnHide() = 0;
    virtual void OnTrayIcon(TrayIcon icon) = 0;
    virtual void OnApplyEnabled(bool enabled) = 0;
    virtual void OnRefreshKeys() = 0;
    virtual void OnProgress(bool running) = 0;
    virtual void OnProfileChecked(int profile) = 0;
    virtual void OnProfileCaption(const std::u16string& caption, const std::u16string& tooltip) = 0;
};

class QtWindowPort final : public WindowPort {
public:
    // `context` lives on the UI thread (the main window); `target` is called there.
    QtWindowPort(QObject* context, WindowPortTarget& target);

    void ReloadActiveProfile() override;
    void CloseEditors() override;
    void RefreshBankKeys(int bank) override;
    void PostOpen() override;
    void PostLightingReread() override;
    void PostHide() override;
    void PostTrayIcon(TrayIcon icon) override;
    void PostApplyEnabled(bool enabled) override;
    void PostRefreshKeys() override;
    void PostProgress(bool running) override;
    bool EditorOpen() override { return editorOpen_.load(); }
    void PostProfileChecked(int profile) override;
    void PostProfileCaption(const std::u16string& caption, const std::u16string& tooltip) override;

    // Kept by the window while a key assignment or macro editor is open.
    void SetEditorOpen(bool open) { editorOpen_.store(open); }
    // From now on every call returns at once without reaching the window (the window goes
    // away while other threads may still call).
    void Close() { closed_.store(true); }

private:
    void Send(std::function<void()> call);
    void Post(std::function<void()> call);

    QPointer<QObject> context_;
    WindowPortTarget& target_;
    std::atomic<bool> closed_{false};
    std::atomic<bool> editorOpen_{false};
};

} // namespace kovantis::ui
