#include "cli/json_writer.h"

#include <cstdio>

namespace quarvel {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence of a character that starts text, or 0: no stray
// continuation byte, overlong form, surrogate or code point beyond U+10FFFF.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    // The range the second byte must be in; it excludes the forms that are not allowed.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t at = 2; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (static_cast<unsigned char>(c) >= 0x80) {
            const std::size_t length = utf8SequenceLength(text.substr(at));
            json += length == 0 ? kReplacementCharacter : text.substr(at, length);
            at += length == 0 ? 0 : length - 1;
            continue;
        }
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
