#include "lighting/user_modes.h"

#include <vector>

#include "lighting/board_keys.h"
#include "lighting/preview_tables.h"
#include "lighting/transfer.h"

namespace kovantis {

void UserModes::FillUserModeNames(int profile)
{
    view_.names = FileOf(profile).ReadNames();
}

void UserModes::LoadUserMode(int profile)
{
    ReadUserMode(profile);
    SendTable(profile);
}

void UserModes::ReadUserMode(int profile)
{
    const UserModeFile file = FileOf(profile);
    view_.mode = file.ReadPresentMode();
    const UserModeContent content = file.ReadMode(view_.mode);
    view_.settings = content.settings;
    for (int key = 0; key < kKeyColourEntries; ++key) {
        if (const auto& line = content.keys[static_cast<size_t>(key)]) {
            colours_.Set(profile, key, line->colour);
            colours_.SetFollowsBase(profile, key, line->followsBase);
        }
    }
}

void UserModes::SelectMode(int profile, int mode)
{
    if (mode < 0 || mode >= kUserModeCount) {
        return;
    }
    FileOf(profile).WritePresentMode(mode);
    LoadUserMode(profile);
}

void UserModes::RenameMode(int profile, std::u16string_view name)
{
    view_.names[static_cast<size_t>(view_.mode)] = std::u16string(name);
    FileOf(profile).WriteName(view_.mode, name);
}

void UserModes::WriteSettings(int profile)
{
    FileOf(profile).WriteSettings(view_.mode, view_.settings);
}

void UserModes::ChooseBrushColour(int profile, Rgb colour)
{
    view_.settings.brush = colour;
    WriteSettings(profile);
}

void UserModes::SelectTool(int profile, int tool)
{
    view_.settings.tool = tool == 1 ? 1 : 0;
    WriteSettings(profile);
}

void UserModes::ChooseBaseColour(int profile, Rgb colour)
{
    if (colour == view_.settings.base) {
        return;
    }
    view_.settings.base = colour;
    WriteSettings(profile);

    std::vector<UserModeFile::IndexedKeyLine> lines;
    lines.reserve(kKeyColourEntries);
    const auto recolour = [&](int key) {
        if (colours_.FollowsBase(profile, key)) {
            colours_.Set(profile, key, colour);
            lines.push_back({key, KeyLine{colour, true}});
        }
    };
    for (int16_t key : BoardKeys()) {
        recolour(key);
    }
    recolour(kGKeyMatrixIndex);
    FileOf(profile).WriteKeyLines(view_.mode, lines);
    SendTable(profile);
}

void UserModes::PaintKey(int profile, int matrixIndex)
{
    if (matrixIndex < 0 || matrixIndex >= kKeyColourEntries) {
        return;
    }
    const bool baseTool = view_.settings.tool == 1;
    const Rgb colour = baseTool ? view_.settings.base : view_.settings.brush;
    InTransfer(commands_, [&] { WriteKeyColour(commands_, profile, matrixIndex, colour); });
    colours_.Set(profile, matrixIndex, colour);
    colours_.SetFollowsBase(profile, matrixIndex, baseTool);
    FileOf(profile).WriteKeyLine(view_.mode, matrixIndex, KeyLine{colour, baseTool});
}

int UserModes::SendTable(int profile)
{
    return InTransfer(commands_, [&] { WriteKeyColourTable(commands_, profile, colours_.Bytes(profile)); });
}

bool UserModes::RestoreFromTemplate(int profile)
{
    const bool copied = store_.CopyTemplateOver(profile);
    FillUserModeNames(profile);
    LoadUserMode(profile);
    return copied;
}

} // namespace kovantis
