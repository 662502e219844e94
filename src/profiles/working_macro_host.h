#pragma once
// The macro editor's view of the program: the working copy's macro list and key assignments,
// the keyboard's macro space and the record-delay setting. The editor sees only its interface.

#include "app/app_settings.h"
#include "device/device_state.h"
#include "macros/macro_editor_host.h"
#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"
#include "ports/window_port.h"

namespace kovantis {

struct WorkingMacroLinks {
    ProfileData& working;
    UnsavedChanges& changes;
    WindowPort& window;
    const DeviceState& device;
    const AppSettings& settings;
};

class WorkingMacroHost : public MacroEditorHost {
public:
    explicit WorkingMacroHost(const WorkingMacroLinks& links) : links_(links) {}

    std::vector<MacroRecord> CopyWorkingMacros() override;
    bool IsMacroAssigned(const MacroRecord& record) override;
    int CommitMacroList(std::span<const MacroRecord> records) override;
    int MacroSpace() const override;
    int ReadRecordDelaySetting() override;
    int WriteRecordDelaySetting(int value) override;

private:
    WorkingMacroLinks links_;
};

} // namespace kovantis
