#pragma once
// Where the user-mode files live. The program ships "UserDengColor_N.userd" for profiles 0..2
// and the template (N = 3) in its Skins folder; what the user changes lives in the per-user
// overlay of that folder. A file is read from the overlay when it is there, else the shipped
// one; it is always written to the overlay, which first takes a copy of the shipped file so
// that changing one value keeps all the others.

#include <string>

namespace kovantis {

class Paths;

inline constexpr int kTemplateModeFile = 3;

class UserModeStore {
public:
    explicit UserModeStore(const Paths& paths) : paths_(paths) {}

    // "UserDengColor_" + index + ".userd"
    static std::string FileName(int index);

    // The file to read for index 0..3.
    std::string ReadPath(int index) const;
    // The overlay file of index 0..3, ready to be written: it holds the shipped file's
    // contents when it had none of its own.
    std::string PrepareWrite(int index) const;
    // Replaces the overlay file of `index` with the template, byte for byte; false when the
    // template cannot be read or the file not written (it is then left as it was).
    bool CopyTemplateOver(int index) const;

private:
    const Paths& paths_;
};

} // namespace kovantis
