#pragma once

#include <string>

namespace skingen {

// The lighting panel's pictures, slider faces and progress frames, into `folder`.
bool WritePanelPictures(const std::string& folder);
// Tray icons icon_128.png, icon_141.png, icon_142.png into `skinFolder`, and the application
// icon hicolor/<n>x<n>/apps/kovantis.png into `iconFolder`.
bool WriteIcons(const std::string& skinFolder, const std::string& iconFolder);

} // namespace skingen
