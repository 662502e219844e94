#pragma once

#include <string>

namespace skingen {

// The key assignment dialog (five picture sets, Composite.ini), the profile manager
// (Profile.ini) and the firmware update dialog (UpdateDlg.ini), into `folder`.
bool WriteCompositeSkin(const std::string& folder);
bool WriteProfileSkin(const std::string& folder);
bool WriteUpdateSkin(const std::string& folder);

} // namespace skingen
