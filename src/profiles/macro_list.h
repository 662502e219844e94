#pragma once
// Looking macros up in the working copy, making new ones and committing the editor's list. A
// play-macro assignment stores the macro's id; the keyboard refers to the macro by its position
// in the list.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "macros/macro_record.h"
#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"
#include "ports/window_port.h"

namespace kovantis {

// Macro ids are 16-bit wherever they are compared: an assignment's 32-bit value names the macro
// of its low 16 bits, as the commit reads it.

// Position of the first macro with this id; 0 when none has it.
uint16_t MacroPositionOf(ProfileData& data, uint32_t id);
// Id of the macro at this position; 0 outside the list.
uint16_t MacroIdAt(ProfileData& data, int position);
// Name of the first macro with this id; empty when none has it.
std::u16string MacroNameOf(ProfileData& data, uint32_t id);

// Whether any of the 2048 assignments plays this macro; false at once for a fresh record.
bool IsMacroAssigned(ProfileData& data, const MacroRecord& record);

// Installs the editor's records as the macro list and repairs the play-macro assignments of all
// banks: a value of 0 is bound to the first macro; an id that is gone, or that now belongs to a
// macro made since, loses its assignment. Any repair marks the profile as changed and repaints
// the keys. Gives 1, or 0 when memory ran out (the list and the assignments stay as they were).
int CommitMacroList(ProfileData& data, std::span<const MacroRecord> records, UnsavedChanges& changes,
                    WindowPort& window);

} // namespace kovantis
