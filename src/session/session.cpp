#include "session/session.h"

#include "platform/posix_process_starter.h"
#include "profiles/macro_list.h"

namespace kovantis {
namespace {

std::unique_ptr<ProcessStarter> OwnStarterUnless(ProcessStarter* given)
{
    if (given != nullptr)
        return nullptr;
    return std::make_unique<PosixProcessStarter>();
}

} // namespace

Session::Session(const SessionSetup& setup, const SessionPorts& ports)
    : data_(setup.data),
      ports_(ports),
      ownStarter_(OwnStarterUnless(ports.processes)),
      link_(setup.functions,
            DeviceLink::Ports{ports.window, ports.editors, ports.prompter, ports.texts, ports.clock},
            setup.linkOptions),
      changes_(ports.window),
      modeStore_(setup.paths),
      userModes_(link_.Commands(), modeStore_),
      lighting_(link_.Commands(), userModes_, setup.lightingView, ports.clock, setup.skinTexts),
      lightingHooks_(lighting_),
      profiles_(ProfileEnvironment{setup.data, link_.Commands(), link_.State(), ports.window, ports.editors,
                                   ports.prompter, ports.texts, setup.paths, changes_, lightingHooks_}),
      update_(setup.paths, setup.data.working, link_.Commands(), ports.prompter, ports.texts,
              ports.processes != nullptr ? *ports.processes : *ownStarter_)
{
    lighting_.SetLanguage(setup.language);
    // Turning the lighting view on re-selects the profile, which waits for open editors.
    lighting_.SetProfileReselector([this](int profile) { return profiles_.SwitchProfile(profile) == 1; });
    keyNames_.Load(ports.texts);
}

Session::~Session() = default;

int Session::Start() { return link_.Start(); }

void Session::Stop() { link_.Stop(); }

void Session::LanguageChanged(int language)
{
    keyNames_.Load(ports_.texts);
    lighting_.SetLanguage(language);
}

bool Session::RestoreDefaultRecords(GKeyBank gBank)
{
    if (!ports_.prompter.AskYesNo(ports_.texts.Text("MAIN_PROMPT_DEFAULT")))
        return false;
    profiles_.RestoreDefaultRecords(gBank);
    return true;
}

void Session::RestoreKeyboardDefaults()
{
    lighting_.RestoreLightingDefaults();
    profiles_.Apply();
}

void Session::DescribeKeys(KeyboardViewModel& view, bool gBankOnly)
{
    ProfileData& working = data_.working;
    const MacroNameLookup macroName = [&working](uint32_t id) { return MacroNameOf(working, id); };
    const KeyTextSources sources{keyNames_, ports_.texts, macroName};
    ProfileData::Lock lock(working);
    const auto bank = lock->image.Bank(profiles_.CurrentProfile());
    if (gBankOnly)
        view.RefreshGBankMarks(bank, view.Bank(), sources);
    else
        view.RefreshKeyButtons(bank, view.Bank(), sources);
}

void Session::Quit()
{
    ports_.editors.CloseAll();
    for (ProfileData* data : {&data_.working, &data_.snapshot}) {
        ProfileData::Lock lock(*data);
        lock.Replace(NewProfileContents());
    }
}

} // namespace kovantis
