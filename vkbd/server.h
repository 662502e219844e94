#pragma once
// kovantis-vkbd's server: the keyboard model on the virtual link, its control channel and its
// state file, in one poll loop on one thread.

#include "vkbd/control_channel.h"
#include "vkbd/control_handler.h"
#include "vkbd/fault_plan.h"
#include "vkbd/keyboard_model.h"
#include "vkbd/link_control.h"
#include "vkbd/link_latency.h"
#include "vkbd/options.h"
#include "wire/virtual_link.h"

#include <optional>
#include <poll.h>
#include <vector>

namespace kovantis::vkbd {

class Server final : public LinkControl {
public:
    explicit Server(const ServerOptions& options);
    ~Server() override;
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Loads the state file, opens the control socket and, unless told to start unplugged, the
    // link socket. False after telling why on stderr.
    bool Start();
    // Serves until "quit", SIGTERM or SIGINT; saves the state on the way out.
    int Run();

    bool Plug(std::string& error) override;
    void Unplug() override;
    bool Plugged() const override { return listener_ >= 0; }
    bool HostConnected() const override { return host_ >= 0; }
    bool SendEvent(uint16_t code) override;
    std::span<const uint8_t> StatusBytes() const override { return statusBytes_; }
    bool SaveState(std::string& error) override;
    void Quit() override { quit_ = true; }

private:
    bool LoadState();
    void AcceptHost();
    void ServeHost(short events);
    void HandleCommandReport(std::span<const uint8_t, 64> request, LinkClock::time_point sentAt);
    // Waits one link latency from readyAt first (not for the hello).
    bool SendToHost(uint8_t collection, std::span<const uint8_t> report,
                    LinkClock::time_point readyAt);
    void SendDelayedReplyWhenDue();
    void DropHost();
    // Saves when the memory changed, except in the middle of a bracketed transfer.
    void SaveIfChanged(bool evenInTransfer);
    int PollTimeoutMs() const;

    ServerOptions options_;
    KeyboardModel model_;
    FaultPlan faults_;
    LinkLatency latency_;
    ControlChannel control_;
    ControlHandler handler_;
    int listener_ = -1;
    int host_ = -1;
    int signals_ = -1;
    std::vector<uint8_t> statusBytes_;
    std::vector<pollfd> pollEntries_;  // rebuilt on every turn of the loop, kept for its memory
    std::optional<Report> delayedReply_;
    LinkClock::time_point delayedUntil_;  // when the held-back reply leaves the keyboard
    uint64_t savedGeneration_ = 0;
    bool quit_ = false;
};

} // namespace kovantis::vkbd
