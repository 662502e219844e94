#pragma once
// A small JSON writer for --json output: one document, indented, ending in a newline. Commas
// and nesting are its business; strings are escaped (UTF-8 passes through unchanged).

#include <cstdint>
#include <iosfwd>
#include <string>
#include <type_traits>
#include <string_view>
#include <vector>

namespace kovantis::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the object being written.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(long long value);
    JsonWriter& Bool(bool value);

    template <typename T>
    JsonWriter& Field(std::string_view name, const T& value)
    {
        Key(name);
        if constexpr (std::is_same_v<T, bool>)
            return Bool(value);
        else if constexpr (std::is_integral_v<T>)
            return Number(static_cast<long long>(value));
        else
            return String(value);
    }

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void NewLine();

    std::ostream& out_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

// `text` as a JSON string literal, quotes included.
std::string JsonQuoted(std::string_view text);

} // namespace kovantis::cli
