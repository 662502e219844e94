#include "cli/json_writer.h"

#include <cstdio>
#include <ostream>

namespace kovantis::cli {

std::string JsonQuoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

void JsonWriter::NewLine()
{
    out_ << '\n' << std::string(2 * first_.size(), ' ');
}

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (first_.empty())
        return;
    if (!first_.back())
        out_ << ',';
    first_.back() = false;
    NewLine();
}

void JsonWriter::Open(char bracket)
{
    BeforeValue();
    out_ << bracket;
    first_.push_back(true);
}

void JsonWriter::Close(char bracket)
{
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty)
        NewLine();
    out_ << bracket;
    if (first_.empty())
        out_ << '\n';
}

JsonWriter& JsonWriter::BeginObject()
{
    Open('{');
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    Open('[');
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name)
{
    BeforeValue();
    out_ << JsonQuoted(name) << ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text)
{
    BeforeValue();
    out_ << JsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::Number(long long value)
{
    BeforeValue();
    out_ << value;
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    BeforeValue();
    out_ << (value ? "true" : "false");
    return *this;
}

} // namespace kovantis::cli
