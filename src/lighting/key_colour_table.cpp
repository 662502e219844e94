#include "lighting/key_colour_table.h"

namespace kovantis {

namespace {

size_t At3(int index)
{
    return static_cast<size_t>(index) * 3;
}

bool Valid(int profile, int index)
{
    return profile >= 0 && profile < kProfileCount && index >= 0 && index < kKeyColourEntries;
}

} // namespace

KeyColourTable::KeyColourTable()
{
    for (int p = 0; p < kProfileCount; ++p) {
        for (int k = 0; k < kKeyColourEntries; ++k) {
            Set(p, k, kRed);
            SetFollowsBase(p, k, true);
        }
    }
}

Rgb KeyColourTable::At(int profile, int index) const
{
    if (!Valid(profile, index)) {
        return kBlack;
    }
    const auto& b = bytes_[static_cast<size_t>(profile)];
    return Rgb{b[At3(index)], b[At3(index) + 1], b[At3(index) + 2]};
}

void KeyColourTable::Set(int profile, int index, Rgb colour)
{
    if (!Valid(profile, index)) {
        return;
    }
    auto& b = bytes_[static_cast<size_t>(profile)];
    b[At3(index)] = colour.r;
    b[At3(index) + 1] = colour.g;
    b[At3(index) + 2] = colour.b;
}

bool KeyColourTable::FollowsBase(int profile, int index) const
{
    return Valid(profile, index) && followsBase_[static_cast<size_t>(profile)][static_cast<size_t>(index)];
}

void KeyColourTable::SetFollowsBase(int profile, int index, bool follows)
{
    if (Valid(profile, index)) {
        followsBase_[static_cast<size_t>(profile)][static_cast<size_t>(index)] = follows;
    }
}

std::span<const uint8_t, kKeyColourBytes> KeyColourTable::Bytes(int profile) const
{
    const int p = profile >= 0 && profile < kProfileCount ? profile : 0;
    return std::span<const uint8_t, kKeyColourBytes>(bytes_[static_cast<size_t>(p)]);
}

} // namespace kovantis
