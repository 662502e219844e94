#include "lighting/effect_list.h"

#include <algorithm>

namespace kovantis {

EffectList EffectList::FromSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> block)
{
    EffectList list;
    std::copy_n(block.begin() + kSettingsEffectList, kEffectListSize, list.ids.begin());
    return list;
}

bool EffectList::Offers(int effectId) const
{
    return effectId != 0 && std::find(ids.begin(), ids.end(), effectId) != ids.end();
}

EffectTable::EffectTable(const EffectList& list)
{
    for (uint8_t id : list.ids) {
        if (id != 0) {
            ids_[static_cast<size_t>(count_++)] = id;
        }
    }
}

int EffectTable::IdAt(int index) const
{
    return index >= 0 && index < count_ ? ids_[static_cast<size_t>(index)] : -1;
}

int EffectTable::IndexOf(int effectId) const
{
    for (int j = 0; j < count_; ++j) {
        if (ids_[static_cast<size_t>(j)] == effectId) {
            return j;
        }
    }
    return -1;
}

} // namespace kovantis
