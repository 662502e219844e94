#pragma once
// The control socket: line-based clients, each line answered by one line.

#include <functional>
#include <span>
#include <poll.h>
#include <string>
#include <string_view>
#include <vector>

namespace kovantis::vkbd {

class ControlChannel {
public:
    using LineHandler = std::function<std::string(std::string_view line)>;

    ControlChannel() = default;
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    bool Open(const std::string& path, std::string& error);
    void Close();

    // Adds the listener and the clients to a poll set; Serve is then given exactly the entries
    // added and handles what poll reported for them.
    void AddPollEntries(std::vector<pollfd>& entries) const;
    void Serve(std::span<const pollfd> entries, const LineHandler& handler);

private:
    struct Client {
        int fd;
        std::string pending;
    };
    void Accept();
    // False when the client has gone or misbehaved and must be closed.
    bool ServeClient(Client& client, const LineHandler& handler);

    std::string path_;
    int listener_ = -1;
    std::vector<Client> clients_;
};

} // namespace kovantis::vkbd
