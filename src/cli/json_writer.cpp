#include "cli/json_writer.h"

#include <cstdio>

namespace quarvel {

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

JsonObject& JsonObject::add(std::string_view key, std::string_view text) {
    return addRaw(key, jsonString(text));
}

JsonObject& JsonObject::add(std::string_view key, const char* text) {
    return add(key, std::string_view(text));
}

JsonObject& JsonObject::add(std::string_view key, std::int64_t number) {
    return addRaw(key, std::to_string(number));
}

JsonObject& JsonObject::add(std::string_view key, bool value) {
    return addRaw(key, value ? "true" : "false");
}

JsonObject& JsonObject::addOrNull(std::string_view key, const std::optional<std::string>& text) {
    return text ? add(key, std::string_view(*text)) : addRaw(key, "null");
}

JsonObject& JsonObject::addNumberOrNull(std::string_view key, std::optional<std::int64_t> number) {
    return number ? add(key, *number) : addRaw(key, "null");
}

JsonObject& JsonObject::addSeconds(std::string_view key, std::optional<std::int64_t> milliseconds) {
    if (!milliseconds) {
        return addRaw(key, "null");
    }
    const std::int64_t whole = *milliseconds / 1000;
    const std::int64_t fraction = *milliseconds % 1000;
    std::string thousandths = std::to_string(fraction);
    thousandths.insert(0, 3 - thousandths.size(), '0');
    return addRaw(key, std::to_string(whole) + "." + thousandths);
}

JsonObject& JsonObject::add(std::string_view key, const JsonObject& object) {
    return addRaw(key, object.text());
}

std::string JsonObject::text() const {
    return "{" + m_members + "}";
}

JsonObject& JsonObject::addRaw(std::string_view key, std::string_view json) {
    if (!m_members.empty()) {
        m_members += ',';
    }
    m_members += jsonString(key);
    m_members += ':';
    m_members += json;
    return *this;
}

} // namespace quarvel
