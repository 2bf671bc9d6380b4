#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

// text as a JSON string, quotes included: quotes, backslashes and control characters escaped,
// UTF-8 as it is, and each byte that is not part of a valid UTF-8 sequence (a file or device
// name in another encoding) as U+FFFD, so that the output is always valid JSON text.
std::string jsonString(std::string_view text);

// One JSON object on one line, built member by member in the order added.
class JsonObject {
public:
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text);
    JsonObject& add(std::string_view key, std::int64_t number);
    JsonObject& add(std::string_view key, bool value);
    // null where the value is not known.
    JsonObject& addOrNull(std::string_view key, const std::optional<std::string>& text);
    JsonObject& addNumberOrNull(std::string_view key, std::optional<std::int64_t> number);
    // milliseconds as seconds with three decimals, or null.
    JsonObject& addSeconds(std::string_view key, std::optional<std::int64_t> milliseconds);
    JsonObject& add(std::string_view key, const JsonObject& object);

    // The object, without a line end.
    std::string text() const;

private:
    JsonObject& addRaw(std::string_view key, std::string_view json);

    std::string m_members;
};

} // namespace quarvel
