#include "profiles/working_macro_host.h"

#include "profiles/macro_list.h"

namespace kovantis {

std::vector<MacroRecord> WorkingMacroHost::CopyWorkingMacros()
{
    ProfileData::Lock lock(links_.working);
    std::vector<MacroRecord> copies = lock->macros;
    for (MacroRecord& record : copies) {
        record.fresh = 0;
    }
    return copies;
}

bool WorkingMacroHost::IsMacroAssigned(const MacroRecord& record)
{
    return kovantis::IsMacroAssigned(links_.working, record);
}

int WorkingMacroHost::CommitMacroList(std::span<const MacroRecord> records)
{
    return kovantis::CommitMacroList(links_.working, records, links_.changes, links_.window);
}

int WorkingMacroHost::MacroSpace() const { return links_.device.MacroAreaSize(); }

int WorkingMacroHost::ReadRecordDelaySetting() { return links_.settings.ReadRecordDelaySetting(); }

int WorkingMacroHost::WriteRecordDelaySetting(int value) { return links_.settings.WriteRecordDelaySetting(value); }

} // namespace kovantis
