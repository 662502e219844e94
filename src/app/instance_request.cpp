#include "app/instance_request.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace kovantis {
namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The whole of `text` as a number in `base` (0: C notation), within int.
bool ParseInt(std::string_view text, int base, int* value)
{
    const std::string digits(Trimmed(text));
    if (digits.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(digits.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

} // namespace

InstanceRequest ParseInstanceRequest(std::string_view line)
{
    line = Trimmed(line);
    InstanceRequest request;
    if (line == "OPEN") {
        request.kind = InstanceRequest::Kind::Open;
    } else if (line == "KILL") {
        request.kind = InstanceRequest::Kind::Kill;
    } else if (line.starts_with("COMMAND ") && ParseInt(line.substr(8), 10, &request.number)) {
        request.kind = InstanceRequest::Kind::Command;
    } else if (line.starts_with("MESSAGE ") && ParseInt(line.substr(8), 0, &request.number)) {
        request.kind = InstanceRequest::Kind::Message;
    }
    return request;
}

} // namespace kovantis
