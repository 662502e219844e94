#pragma once
// Which lighting effects the keyboard offers: bytes 12..43 of its settings block hold 32 effect
// numbers in the keyboard's order, 0 marking an empty slot. The effect table numbers the
// offered effects 0, 1, 2, ... in that order, as the effect combo box lists them.

#include <array>
#include <cstdint>
#include <span>

#include "device/command_set.h"

namespace kovantis {

struct EffectList {
    std::array<uint8_t, kEffectListSize> ids{};

    static EffectList FromSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> block);
    bool Offers(int effectId) const;
    void Clear() { ids.fill(0); }
};

class EffectTable {
public:
    EffectTable() = default;
    explicit EffectTable(const EffectList& list);

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // The effect id at a combo index; -1 for an index outside the table.
    int IdAt(int index) const;
    // The combo index of an effect id; -1 when the keyboard does not offer it.
    int IndexOf(int effectId) const;

private:
    std::array<uint8_t, kEffectListSize> ids_{};
    int count_ = 0;
};

} // namespace kovantis
