#include "capture/CaptureJson.h"

#include <cstdio>

#include "support/Text.h"

namespace norvane::capture {

std::string JsonString(const std::wstring& value) {
    std::string out = "\"";
    for (const char c : text::ToUtf8(value)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out.push_back(c);
                }
        }
    }
    return out + "\"";
}

JsonObject& JsonObject::String(const std::string& name, const std::wstring& value) {
    m_members.emplace_back(name, JsonString(value));
    return *this;
}

JsonObject& JsonObject::Null(const std::string& name) {
    m_members.emplace_back(name, "null");
    return *this;
}

JsonObject& JsonObject::Number(const std::string& name, std::uint64_t value) {
    m_members.emplace_back(name, std::to_string(value));
    return *this;
}

JsonObject& JsonObject::Bool(const std::string& name, bool value) {
    m_members.emplace_back(name, value ? "true" : "false");
    return *this;
}

JsonObject& JsonObject::Strings(const std::string& name, const std::vector<std::wstring>& values) {
    std::string list = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        list += (i ? ", " : "") + JsonString(values[i]);
    m_members.emplace_back(name, list + "]");
    return *this;
}

JsonObject& JsonObject::Object(const std::string& name, const JsonObject& value) {
    m_members.emplace_back(name, value.Text());
    return *this;
}

std::string JsonObject::Text(std::size_t indent) const {
    if (m_members.empty())
        return "{}";
    const std::string inner(indent + 2, ' ');
    std::string out = "{";
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        std::string value = m_members[i].second;
        // A nested object was written at the top level's indentation; shift it to its member's.
        for (std::size_t at = value.find('\n'); at != std::string::npos;
             at = value.find('\n', at + 1))
            value.insert(at + 1, inner);
        out += (i ? ",\n" : "\n") + inner + JsonString(text::FromUtf8(m_members[i].first)) + ": " +
               value;
    }
    return out + "\n" + std::string(indent, ' ') + "}";
}

}  // namespace norvane::capture
