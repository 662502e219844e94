#pragma once
// What the macro editor needs from the rest of the program. The editor works on copies; the
// profile side implements this over the working profile data, so the editor never sees it.

#include <cstdint>
#include <span>
#include <vector>

#include "macros/macro_record.h"

namespace kovantis {

class MacroEditorHost {
public:
    virtual ~MacroEditorHost() = default;

    // Copies of the working macro list, in list order, none of them fresh.
    virtual std::vector<MacroRecord> CopyWorkingMacros() = 0;
    // Whether some key plays this macro (never for a macro made since the editor opened).
    virtual bool IsMacroAssigned(const MacroRecord& record) = 0;
    // Installs the editor's records as the working macro list and repairs the keys that play
    // macros. 1, or 0 when it could not (the working list is then as it was).
    virtual int CommitMacroList(std::span<const MacroRecord> records) = 0;
    // The keyboard's macro space in bytes; 0 while no keyboard has reported it.
    virtual int MacroSpace() const = 0;

    // The persistent record-delay option: read (0 when unset), and write, which stores 0 for
    // anything but 1 and gives the value stored.
    virtual int ReadRecordDelaySetting() = 0;
    virtual int WriteRecordDelaySetting(int value) = 0;
};

} // namespace kovantis
