#include <gtest/gtest.h>

#include "wire/le_bytes.h"
#include "platform/ini_file.h"
#include "profiles/profile_file.h"
#include "profile_test_support.h"

namespace kovantis {
namespace {

using namespace kovantis::testing;

class ProfileFileTest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return home.Root() / name; }
    std::vector<uint8_t> BlankBytes()
    {
        EXPECT_EQ(CreateBlankImage(File("blank.kvp")), 1);
        return FileBytes(File("blank.kvp"));
    }
    // A header edited in place, with its checksum made right again.
    static void Patch(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int width)
    {
        if (width == 2) {
            WriteU16(bytes, offset, static_cast<uint16_t>(value));
        } else {
            WriteU32(bytes, offset, value);
        }
        bytes[31] = ProfileHeaderChecksum(std::span(bytes).first<32>());
    }
    int Validate(const std::filesystem::path& path) { return ValidateProfileFile(path, prompter, texts); }
    std::unique_ptr<ProfileContents> WorkingCopy()
    {
        ProfileData::Lock lock(data);
        return std::make_unique<ProfileContents>(*lock);
    }

    TemporaryHome home;
    FakePrompter prompter;
    FakeTexts texts{{{"PROFILE_FORMAT_ERROR", u"bad file: %s"}}};
    ProfileData data{ProfileDataRole::Working};
};

TEST_F(ProfileFileTest, BlankFileIsExactlyTheImageAndValidates)
{
    const std::vector<uint8_t> bytes = BlankBytes();
    ASSERT_EQ(bytes.size(), 32832u);
    const std::vector<uint8_t> head = {0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00, 0x40, 0x80, 0x00, 0x00,
                                       0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    EXPECT_EQ(bytes[30], 0);
    EXPECT_EQ(bytes[31], ProfileHeaderChecksum(std::span(bytes).first<32>()));
    const std::vector<uint8_t> descriptor = {0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00,
                                             0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00};
    EXPECT_TRUE(std::equal(descriptor.begin(), descriptor.end(), bytes.begin() + 32));
    EXPECT_EQ(bytes[52], 0x4F);
    EXPECT_EQ(bytes[53], 0x1C);
    // G1 of bank A in bank 0 carries its id; bank 1 carries none.
    EXPECT_EQ(ReadU16(bytes, 64 + 16 * 256 + 2), 0x0301);
    EXPECT_EQ(ReadU16(bytes, 64 + 8192 + 16 * 256 + 2), 0);
    EXPECT_EQ(Validate(File("blank.kvp")), 1);
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(ProfileFileTest, ValidationRefusesBadHeadersWithTheMessageAndOnlySizesSilently)
{
    const std::vector<uint8_t> blank = BlankBytes();
    const std::u16string message = u"bad file: " + Utf8ToUtf16(File("bad.kvp").string());

    std::vector<uint8_t> bytes = blank;
    bytes[31] += 1;  // checksum off by one
    WriteBytes(File("bad.kvp"), bytes);
    EXPECT_EQ(Validate(File("bad.kvp")), 0);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], message);

    bytes = blank;
    Patch(bytes, 14, 101, 2);  // 101 macros, with a total that matches them
    Patch(bytes, 8, 101 * 16512 + 32832, 4);
    bytes.resize(101 * 16512 + 32832);
    WriteBytes(File("bad.kvp"), bytes);
    EXPECT_EQ(Validate(File("bad.kvp")), 0);
    EXPECT_EQ(prompter.Messages().size(), 2u);

    for (auto [offset, value, width] : {std::tuple{0, 0x4447u, 2}, {2, 33u, 2}, {4, 2u, 2}, {6, 2u, 2},
                                        {12, 2047u, 2}, {8, 32833u, 4}, {30, 2u, 1}}) {
        bytes = blank;
        if (width == 1) {
            bytes[offset] = static_cast<uint8_t>(value);
            bytes[31] = ProfileHeaderChecksum(std::span(bytes).first<32>());
        } else {
            Patch(bytes, offset, value, width);
        }
        WriteBytes(File("bad.kvp"), bytes);
        EXPECT_EQ(Validate(File("bad.kvp")), 0) << offset;
    }

    const size_t shown = prompter.Messages().size();
    bytes = blank;
    bytes[30] = 1;  // flag 1 is accepted
    bytes[31] = ProfileHeaderChecksum(std::span(bytes).first<32>());
    WriteBytes(File("ok.kvp"), bytes);
    EXPECT_EQ(Validate(File("ok.kvp")), 1);
    // A total that matches its own n and s but not the file's size still passes.
    bytes = blank;
    Patch(bytes, 16, 100, 4);
    Patch(bytes, 8, 32932, 4);
    WriteBytes(File("ok.kvp"), bytes);
    EXPECT_EQ(Validate(File("ok.kvp")), 1);

    bytes = blank;
    bytes.pop_back();
    WriteBytes(File("short.kvp"), bytes);
    EXPECT_EQ(Validate(File("short.kvp")), 0);
    EXPECT_EQ(Validate(File("missing.kvp")), 0);
    EXPECT_EQ(prompter.Messages().size(), shown);  // sizes and missing files say nothing
}

TEST_F(ProfileFileTest, StringAreaOffsetsAndRoundTrip)
{
    {
        ProfileData::Lock lock(data);
        lock->image.records[5] = MakeAssignment(AssignmentKind::TextBlock, 999);
        lock->image.records[6] = MakeAssignment(AssignmentKind::LaunchProgram, 1234);  // no text
        lock->image.records[700] = MakeAssignment(AssignmentKind::TextBlock);
        lock->image.records[900] = MakeAssignment(AssignmentKind::LaunchProgram, 4);  // stale, inside the area
        lock->strings.Set(5, u"0123456789");
        lock->strings.Set(700, u"abcd");
        MacroRecord macro;
        macro.SetName(u"Fire");
        macro.id = 1;
        macro.playCount = 2;
        macro.reserved504 = 0xBEEF;
        macro.actionCount = 1;
        macro.actions[0] = {40000, 0x01E, kMacroRelease};
        lock->macros.push_back(macro);
    }
    ASSERT_EQ(SaveProfileFile(File("strings.kvp"), data), 1);
    const std::vector<uint8_t> bytes = FileBytes(File("strings.kvp"));
    ASSERT_EQ(bytes.size(), 32832u + 16512u + 32u);
    EXPECT_EQ(ReadU32(bytes, 16), 32u);
    EXPECT_EQ(ReadU32(bytes, 8), bytes.size());
    EXPECT_EQ(ReadU32(bytes, 64 + 16 * 5 + 4), 0u);
    EXPECT_EQ(ReadU32(bytes, 64 + 16 * 700 + 4), 22u);
    EXPECT_EQ(ReadU32(bytes, 64 + 16 * 6 + 4), 1234u);
    EXPECT_EQ(ReadU32(bytes, 64 + 16 * 900 + 4), 32u);
    EXPECT_EQ(ReadU16(bytes, 32832 + 16512 + 22), u'a');
    EXPECT_EQ(ReadU16(bytes, 32832 + 16512 + 30), 0);
    EXPECT_EQ(Validate(File("strings.kvp")), 1);

    ProfileData loaded(ProfileDataRole::Working);
    ASSERT_EQ(LoadProfileFile(File("strings.kvp"), loaded), 1);
    ProfileData::Lock lock(loaded);
    EXPECT_EQ(lock->strings.Text(5), std::u16string_view(u"0123456789"));
    EXPECT_EQ(lock->strings.Text(700), std::u16string_view(u"abcd"));
    EXPECT_FALSE(lock->strings.Text(6));
    EXPECT_FALSE(lock->strings.Text(900));
    EXPECT_EQ(lock->strings.Total(), 32u);
    ASSERT_EQ(lock->macros.size(), 1u);
    EXPECT_EQ(lock->macros[0], WorkingCopy()->macros[0]);
    EXPECT_EQ(lock->image.records, WorkingCopy()->image.records);  // the save updated the offsets in memory
}

TEST_F(ProfileFileTest, StringsOutsideOrAtTheEndOfTheArea)
{
    std::vector<uint8_t> bytes = BlankBytes();
    const std::vector<uint8_t> area = {'h', 0, 'i', 0, 0, 0, 'x', 0, 'y', 0};  // "hi", then "xy" unterminated
    Patch(bytes, 16, static_cast<uint32_t>(area.size()), 4);
    Patch(bytes, 8, static_cast<uint32_t>(32832 + area.size()), 4);
    WriteU16(bytes, 64 + 16 * 1, 3);  // odd offset rounds down to the first text
    WriteU32(bytes, 64 + 16 * 1 + 4, 1);
    WriteU16(bytes, 64 + 16 * 2, 6);
    WriteU32(bytes, 64 + 16 * 2 + 4, 6);
    WriteU16(bytes, 64 + 16 * 3, 6);
    WriteU32(bytes, 64 + 16 * 3 + 4, 10);  // outside
    bytes.insert(bytes.end(), area.begin(), area.end());
    WriteBytes(File("edge.kvp"), bytes);
    ASSERT_EQ(LoadProfileFile(File("edge.kvp"), data), 1);
    ProfileData::Lock lock(data);
    EXPECT_EQ(lock->strings.Text(1), std::u16string_view(u"hi"));
    EXPECT_EQ(lock->strings.Text(2), std::u16string_view(u"xy"));
    EXPECT_FALSE(lock->strings.Text(3));
}

TEST_F(ProfileFileTest, LoadRejectsFilesBeyondTheLimitsAndLeavesTheDataAsItWas)
{
    {
        ProfileData::Lock lock(data);
        lock->image.records[3] = MakeAssignment(AssignmentKind::Key, 0x01E);
        lock->macros.resize(1);
    }
    const std::unique_ptr<ProfileContents> before = WorkingCopy();
    std::vector<uint8_t> blank = BlankBytes();
    std::vector<uint8_t> oneMacro = blank;
    Patch(oneMacro, 14, 1, 2);
    Patch(oneMacro, 8, 32832 + 16512, 4);
    oneMacro.resize(32832 + 16512);
    WriteU16(oneMacro, 32832 + 508, 1);

    std::vector<std::vector<uint8_t>> broken;
    std::vector<uint8_t> b = oneMacro;
    WriteU16(b, 32832 + 508, 2001);  // more steps than a record holds
    broken.push_back(b);
    b = oneMacro;
    for (size_t u = 0; u < 250; ++u) {
        WriteU16(b, 32832 + 2 * u, u'x');  // a name without terminator
    }
    broken.push_back(b);
    b = oneMacro;
    b.pop_back();  // shorter than its header says
    broken.push_back(b);
    b = blank;
    Patch(b, 14, 101, 2);
    b.resize(32832 + 101 * 16512);
    broken.push_back(b);
    b = blank;
    Patch(b, 16, 0xFFFFFFF0u, 4);  // a string area far beyond the file
    broken.push_back(b);
    b = blank;
    b.resize(32831);
    broken.push_back(b);

    for (size_t i = 0; i < broken.size(); ++i) {
        WriteBytes(File("broken.kvp"), broken[i]);
        EXPECT_EQ(LoadProfileFile(File("broken.kvp"), data), 0) << i;
        EXPECT_EQ(ParseProfileContents(broken[i]), nullptr) << i;
        const std::unique_ptr<ProfileContents> after = WorkingCopy();
        EXPECT_EQ(after->image, before->image) << i;
        EXPECT_EQ(after->macros, before->macros) << i;
    }
    EXPECT_EQ(LoadProfileFile(File("missing.kvp"), data), 0);
    WriteBytes(File("good.kvp"), oneMacro);
    EXPECT_EQ(LoadProfileFile(File("good.kvp"), data), 1);
}

TEST_F(ProfileFileTest, WritesReplaceWholeFilesOrReportFailure)
{
    const Paths paths = home.MakePaths();
    const std::filesystem::path working = WorkingFilePath(paths);
    EXPECT_TRUE(std::filesystem::is_directory(working.parent_path()));
    EXPECT_EQ(working.filename(), "$Profile0");
    EXPECT_EQ(SaveWorkingFile(paths, data), 0);  // only an existing working file is written
    EXPECT_FALSE(std::filesystem::exists(working));

    ASSERT_EQ(CreateBlankImage(working), 1);
    {
        ProfileData::Lock lock(data);
        lock->macros.resize(2);
    }
    ASSERT_EQ(SaveWorkingFile(paths, data), 1);
    EXPECT_EQ(FileBytes(working).size(), 32832u + 2 * 16512u);

    // A folder that cannot hold the file: 0, and nothing left behind.
    WriteBytes(File("plain"), {1, 2, 3});
    EXPECT_EQ(SaveProfileFile(File("plain") / "x.kvp", data), 0);
    EXPECT_EQ(CreateBlankImage(File("plain") / "x.kvp"), 0);
    std::filesystem::create_directory(File("folder.kvp"));
    EXPECT_EQ(SaveProfileFile(File("folder.kvp"), data), 0);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(working.parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);  // no temporary file remains beside the working file

    EXPECT_EQ(WithProfileExtension("a/b"), "a/b.kvp");
    EXPECT_EQ(WithProfileExtension("a/b.bin"), "a/b.bin");
}

} // namespace
} // namespace kovantis
