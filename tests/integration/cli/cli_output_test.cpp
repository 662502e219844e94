// kovantis-cli's output: JSON that holds the same facts as the text, numbers as people use
// them, and a fresh account whose first export works.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#ifdef KOVANTIS_HAVE_QT_JSON
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#endif

#include "support/cli_home.h"
#include "support/sample_profiles.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

// "name: value" lines of the text output.
std::map<std::string, std::string> Fields(const std::string& text)
{
    std::map<std::string, std::string> fields;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto colon = line.find(": ");
        if (colon != std::string::npos && !line.starts_with(" "))
            fields[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return fields;
}

class CliOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_.UseKeyboard(*keyboard_);
    }

    std::unique_ptr<VkbdProcess> keyboard_ =
        std::make_unique<VkbdProcess>(std::vector<std::string>{"--macro-space", "32", "--effects", "3,7,20"});
    CliHome home_;
};

TEST_F(CliOutputTest, ProfileNumbersAndReportRatesRoundTrip)
{
    ProgramRun run = home_.Run({"status"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "device: present\nactive-profile: 1\nmacro-space: 4096\neffects: 3,7,20\n");

    for (const int profile : {3, 1, 2}) {
        run = home_.Run({"set-profile", std::to_string(profile)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "active-profile: " + std::to_string(profile) + "\n");
        EXPECT_NE(keyboard_->Control("info").find("active-profile=" + std::to_string(profile - 1)), std::string::npos);
        EXPECT_EQ(Fields(home_.Run({"status"}).out)["active-profile"], std::to_string(profile));
        EXPECT_EQ(Fields(home_.Run({"lighting", "show"}).out)["profile"], std::to_string(profile));
    }
    // Keymap 3 is the keyboard's third.
    run = home_.Run({"read-block", "keymap", "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<uint8_t> third = keyboard_->Dump("keymap 2");
    char first[8];
    std::snprintf(first, sizeof first, "%02X %02X", third[0], third[1]);
    EXPECT_EQ(run.out.substr(6, 5), first);

    for (const int hz : {125, 1000, 250, 500}) {
        run = home_.Run({"lighting", "report-rate", std::to_string(hz)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Fields(run.out)["report-rate"], std::to_string(hz) + " Hz");
        EXPECT_EQ(Fields(home_.Run({"lighting", "show"}).out)["report-rate"], std::to_string(hz) + " Hz");
        // Profile 2 is active: its lighting record holds the choice in byte 15.
        const int choice = hz == 125 ? 0 : hz == 250 ? 1 : hz == 500 ? 2 : 3;
        EXPECT_EQ(keyboard_->Dump("profiles")[42 + 15], choice) << hz;
    }
}

TEST_F(CliOutputTest, KeyNamesAreTakenAsShown)
{
    ProgramRun run = home_.Run({"lighting", "effect", "20"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ProgramRun keys = home_.Run({"keys"});
    ASSERT_EQ(keys.exitCode, 0);
    ASSERT_NE(keys.out.find("Page Up "), std::string::npos) << keys.out;
    for (const std::string name : {"Page Up", "pageup", "Num 1", "Fn"}) {
        run = home_.Run({"lighting", "paint", name, "10,20,30"});
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
    }
}

#ifdef KOVANTIS_HAVE_QT_JSON
QJsonObject Json(const ProgramRun& run)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << run.out;
    EXPECT_TRUE(doc.isObject());
    return doc.object();
}

std::string Str(const QJsonValue& value)
{
    return value.isString() ? value.toString().toStdString() : std::to_string(value.toInteger());
}

TEST_F(CliOutputTest, JsonHoldsTheSameFactsAsTheText)
{
    ASSERT_EQ(home_.Run({"set-profile", "2"}).exitCode, 0);
    // status
    auto text = Fields(home_.Run({"status"}).out);
    QJsonObject json = Json(home_.Run({"status", "--json"}));
    EXPECT_EQ(Str(json["device"]), text["device"]);
    EXPECT_EQ(Str(json["active_profile"]), text["active-profile"]);
    EXPECT_EQ(Str(json["macro_space_bytes"]), text["macro-space"]);
    std::string effects;
    for (const QJsonValue& id : json["effects"].toArray())
        effects += (effects.empty() ? "" : ",") + Str(id);
    EXPECT_EQ(effects, text["effects"]);

    // lighting show
    ASSERT_EQ(home_.Run({"lighting", "colour", "1,2,3"}).exitCode, 0);
    text = Fields(home_.Run({"lighting", "show"}).out);
    json = Json(home_.Run({"lighting", "show", "--json"}));
    EXPECT_EQ(Str(json["profile"]), text["profile"]);
    EXPECT_EQ(Str(json["effect"].toObject()["id"]) + " (" + Str(json["effect"].toObject()["name"]) + ")", text["effect"]);
    EXPECT_EQ(Str(json["brightness"]), text["brightness"]);
    EXPECT_EQ(Str(json["speed"]) + " (keyboard value " + Str(json["speed_keyboard_value"]) + ")", text["speed"]);
    EXPECT_EQ(Str(json["direction"]), text["direction"]);
    EXPECT_EQ(json["multicolour"].toBool() ? "on" : "off", text["multicolour"]);
    const QJsonArray colour = json["colour"].toArray();
    EXPECT_EQ(Str(colour[0]) + "," + Str(colour[1]) + "," + Str(colour[2]), text["colour"]);
    EXPECT_EQ(Str(json["report_rate_hz"]) + " Hz", text["report-rate"]);
    EXPECT_EQ(Str(json["user_mode"].toObject()["number"]) + " (" + Str(json["user_mode"].toObject()["name"]) + ")", text["user-mode"]);
    EXPECT_EQ(Str(json["block"]), text["block"]);
    EXPECT_EQ(json["offered_effects"].toArray().size(), 3);
    EXPECT_EQ(Str(json["offered_effects"].toArray()[2].toObject()["id"]), "20");
    EXPECT_EQ(home_.Run({"lighting", "brightness", "2", "--json"}).exitCode, 2) << "--json goes with show";

    // keys
    const ProgramRun keysText = home_.Run({"keys"});
    json = Json(home_.Run({"keys", "--json"}));
    const QJsonArray keys = json["keys"].toArray();
    std::istringstream lines(keysText.out);
    std::string line;
    int listed = 0;
    while (std::getline(lines, line)) {
        ASSERT_LT(listed, keys.size());
        const QJsonObject key = keys[listed++].toObject();
        EXPECT_EQ(line.rfind(Str(key["name"]) + " ", 0), 0u) << line;
        char code[8];
        std::snprintf(code, sizeof code, "0x%03X", static_cast<unsigned>(key["code"].toInt()));
        EXPECT_NE(line.find(std::string(code) + " " + Str(key["matrix_index"])), std::string::npos) << line;
    }
    EXPECT_EQ(listed, keys.size());

    // show
    const std::filesystem::path sample = GreetingProfileFile(home_.Root() / "sample.kvp");
    const std::string shown = home_.Run({"show", sample.string()}).out;
    json = Json(home_.Run({"show", "--json", sample.string()}));
    text = Fields(shown);
    EXPECT_EQ(Str(json["file"]), text["file"]);
    EXPECT_EQ(json["header_valid"].toBool() ? "valid" : "invalid", text["header"]);
    EXPECT_EQ(Str(json["macro_count"]), text["macro-count"]);
    EXPECT_EQ(Str(json["usb_id"]), text["usb-id"]);
    const QJsonArray profiles = json["profiles"].toArray();
    ASSERT_EQ(profiles.size(), 3);
    const QJsonObject a = profiles[1].toObject()["assignments"].toArray()[0].toObject();
    EXPECT_NE(shown.find("profile 2:\n  record " + Str(a["record"]) + ": " + Str(a["text"]) + "\n"), std::string::npos)
        << shown;
    const QJsonObject macro = json["macros"].toArray()[0].toObject();
    EXPECT_EQ(Str(macro["name"]), "Greeting");
    const QJsonObject step = macro["steps"].toArray()[0].toObject();
    EXPECT_NE(shown.find("1. " + Str(step["action"]) + " " + Str(step["key"]) + ", then " + Str(step["delay_ms"]) +
                         " ms"),
              std::string::npos)
        << shown;

    // Without a keyboard, status --json still says so in JSON.
    keyboard_->Control("unplug");
    const ProgramRun absent = home_.Run({"status", "--json"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(Str(Json(absent)["device"]), "absent");
}
#endif

TEST_F(CliOutputTest, AFreshAccountExportsAndImportsSaveTheWorkingFile)
{
    // Nobody has run the desktop program here: no working file.
    ASSERT_FALSE(std::filesystem::exists(home_.WorkingFile()));
    const std::filesystem::path exported = home_.Root() / "exported.kvp";
    ProgramRun run = home_.Run({"export", exported.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(home_.WorkingFile()));
    EXPECT_EQ(Slurp(exported), Slurp(home_.WorkingFile()));
    EXPECT_EQ(run.err.find('%'), std::string::npos) << "no progress when standard error is no terminal";
    run = home_.Run({"show", exported.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;

    // Import on a fresh account keeps the working file as the desktop program's import does,
    // so that an export right after it gives the same file back.
    CliHome fresh;
    fresh.environment = home_.environment;
    const std::filesystem::path sample = GreetingProfileFile(fresh.Root() / "sample.kvp");
    run = fresh.Run({"import", sample.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Slurp(fresh.WorkingFile()), Slurp(sample));
    run = fresh.Run({"export", (fresh.Root() / "again.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Slurp(fresh.Root() / "again.kvp"), Slurp(sample));

    // Backup and apply on a fresh account work as well.
    CliHome third;
    third.environment = home_.environment;
    EXPECT_EQ(third.Run({"backup", (third.Root() / "backup.kvp").string()}).exitCode, 0);
    CliHome fourth;
    fourth.environment = home_.environment;
    run = fourth.Run({"apply"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST_F(CliOutputTest, ASlowImportShowsItsProgressOnATerminalInPlace)
{
    // Every reply late by 40 ms makes the import last well over the half second of quiet.
    ASSERT_NE(keyboard_->Control("latency 40").find("ok"), std::string::npos);
    const std::filesystem::path sample = GreetingProfileFile(home_.Root() / "sample.kvp");
    home_.errorToTerminal = true;
    const ProgramRun run = home_.Run({"import", sample.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const size_t first = run.err.find('%');
    ASSERT_NE(first, std::string::npos) << run.err;
    EXPECT_NE(run.err.find("100%"), std::string::npos) << run.err;
    // Redrawn in place on one line, which is ended once the transfer is through.
    EXPECT_GT(std::count(run.err.begin(), run.err.end(), '\r'), 1) << run.err;
    EXPECT_LT(run.err.find("100%"), run.err.rfind('\n'));
}

} // namespace
} // namespace kovantis::testing
