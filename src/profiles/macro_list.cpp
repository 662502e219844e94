#include "profiles/macro_list.h"

#include <algorithm>
#include <new>

namespace kovantis {
namespace {

constexpr AssignmentKind kPlayMacro = AssignmentKind::PlayMacro;

const MacroRecord* FindById(std::span<const MacroRecord> macros, uint32_t id)
{
    const uint16_t wanted = MacroIdOfValue(id);
    const auto found = std::find_if(macros.begin(), macros.end(),
                                    [wanted](const MacroRecord& m) { return m.id == wanted; });
    return found == macros.end() ? nullptr : &*found;
}

} // namespace

uint16_t MacroPositionOf(ProfileData& data, uint32_t id)
{
    ProfileData::Lock lock(data);
    const std::vector<MacroRecord>& macros = lock->macros;
    const MacroRecord* found = FindById(macros, id);
    return found == nullptr ? 0 : static_cast<uint16_t>(found - macros.data());
}

uint16_t MacroIdAt(ProfileData& data, int position)
{
    ProfileData::Lock lock(data);
    if (position < 0 || static_cast<size_t>(position) >= lock->macros.size()) {
        return 0;
    }
    return lock->macros[static_cast<size_t>(position)].id;
}

std::u16string MacroNameOf(ProfileData& data, uint32_t id)
{
    ProfileData::Lock lock(data);
    const MacroRecord* found = FindById(lock->macros, id);
    return found == nullptr ? std::u16string() : found->Name();
}

bool IsMacroAssigned(ProfileData& data, const MacroRecord& record)
{
    if (record.fresh == 1) {
        return false;
    }
    ProfileData::Lock lock(data);
    const auto& records = lock->image.records;
    return std::any_of(records.begin(), records.end(), [&](const KeyAssignment& a) {
        return a.kind == kPlayMacro && MacroIdOfValue(a.value) == record.id;
    });
}

int CommitMacroList(ProfileData& data, std::span<const MacroRecord> records, UnsavedChanges& changes,
                    WindowPort& window)
{
    if (records.size() > static_cast<size_t>(kMaxMacros)) {
        return 0;
    }
    std::vector<MacroRecord> committed;
    try {
        committed.assign(records.begin(), records.end());
    } catch (const std::bad_alloc&) {
        return 0;
    }

    bool changed = false;
    bool keysCleared = false;
    ProfileData::Lock lock(data);
    for (KeyAssignment& a : lock->image.records) {
        if (a.kind != kPlayMacro) {
            continue;
        }
        if (a.value == 0) {
            if (!records.empty()) {
                a.value = records.front().id;
                changed = true;
            }
            continue;
        }
        const MacroRecord* found = FindById(records, a.value);
        if (found == nullptr || found->fresh == 1) {
            a.kind = AssignmentKind::Default;
            changed = keysCleared = true;
        }
    }
    for (MacroRecord& m : committed) {
        m.fresh = 0;
    }
    lock->macros.swap(committed);

    if (keysCleared) {
        window.PostRefreshKeys();
    }
    if (changed) {
        changes.MarkChanged();
    }
    return 1;
}

} // namespace kovantis
