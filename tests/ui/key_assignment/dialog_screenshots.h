#pragma once
// The key assignment dialog as the documentation's pictures show it: the default skin and the
// shipped English texts of a build's bin/ folder, a record in memory behind it, and a way to
// save what it draws. Shared by the screenshot tools of the key pages and the macro page.

#include <filesystem>
#include <memory>
#include <string>

#include "app/language_table.h"
#include "keyboard/bank.h"
#include "keyboard/key_assignment_dialog_model.h"
#include "keyboard/key_names.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"

namespace kovantis::screenshots {

// The one record the dialog edits.
class OneRecord final : public AssignmentRecordStore {
public:
    KeyAssignment ReadRecord(int) override { return record; }
    bool WriteRecord(int, const KeyAssignment& value, bool) override
    {
        record = value;
        return true;
    }
    KeyAssignment record;
};

class NoProcesses final : public ProcessStarter {
public:
    bool StartDetached(const std::string&, const std::vector<std::string>&, const std::string&) override { return false; }
};

class DialogForPictures {
public:
    // `tool` names the program in its messages; `bin` is the build's bin/ folder.
    DialogForPictures(std::string tool, const std::filesystem::path& bin);
    ~DialogForPictures();

    const TextSource& Texts() const { return language_; }
    const KeyNames& Names() const { return names_; }
    OneRecord& Store() { return store_; }
    Kovantis_DlgComposite& Dialog() { return *dialog_; }

    // Loads the skin's pictures (after a macro page is set, if any); false, said on standard
    // error, when the skin is incomplete.
    bool Prepare();
    // Lets the dialog draw, then saves it as `file`; false, said on standard error, on failure.
    bool Shoot(const std::filesystem::path& file);

private:
    std::string tool_;
    std::filesystem::path bin_;
    LanguageTable language_;
    KeyNames names_;
    OneRecord store_;
    NoProcesses processes_;
    KeyAssignmentDialogModel model_;
    std::unique_ptr<Kovantis_DlgComposite> dialog_;
};

} // namespace kovantis::screenshots
