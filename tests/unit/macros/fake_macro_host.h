#pragma once
// A macro editor host that keeps its macro list and setting in memory and records commits.

#include <set>
#include <vector>

#include "macros/macro_editor_host.h"

namespace kovantis::testing {

class FakeMacroHost : public MacroEditorHost {
public:
    std::vector<MacroRecord> CopyWorkingMacros() override { return working; }
    bool IsMacroAssigned(const MacroRecord& record) override
    {
        return record.fresh != 1 && assignedIds.count(record.id) != 0;
    }
    int CommitMacroList(std::span<const MacroRecord> records) override
    {
        ++commits;
        committed.assign(records.begin(), records.end());
        if (failCommit) {
            return 0;
        }
        working = committed;
        for (MacroRecord& m : working) {
            m.fresh = 0;
        }
        return 1;
    }
    int MacroSpace() const override { return space; }
    int ReadRecordDelaySetting() override { return stored; }
    int WriteRecordDelaySetting(int value) override
    {
        stored = value == 1 ? 1 : 0;
        ++writes;
        return stored;
    }

    std::vector<MacroRecord> working;
    std::vector<MacroRecord> committed;
    std::set<uint16_t> assignedIds;
    int commits = 0;
    bool failCommit = false;
    int space = 0x20 * 128;
    int stored = 1;
    int writes = 0;
};

inline MacroRecord StoredMacro(uint16_t id, std::u16string_view name, std::vector<MacroAction> steps = {})
{
    MacroRecord r;
    r.SetName(name);
    r.id = id;
    r.playCount = 1;
    r.actionCount = static_cast<uint16_t>(steps.size());
    std::copy(steps.begin(), steps.end(), r.actions.begin());
    return r;
}

} // namespace kovantis::testing
