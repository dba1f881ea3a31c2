// A small JSON writer for machine.json: an object's members in the order they are added, two
// spaces of indentation, text escaped as JSON requires.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace norvane::capture {

class JsonObject {
public:
    JsonObject& String(const std::string& name, const std::wstring& value);
    JsonObject& Null(const std::string& name);
    JsonObject& Number(const std::string& name, std::uint64_t value);
    JsonObject& Bool(const std::string& name, bool value);
    JsonObject& Strings(const std::string& name, const std::vector<std::wstring>& values);
    JsonObject& Object(const std::string& name, const JsonObject& value);
    bool Empty() const { return m_members.empty(); }
    // The object, its members indented by `indent` + 2 spaces; no line break after the "}".
    std::string Text(std::size_t indent = 0) const;

private:
    // Each member's name and value as text, a nested object's at the top level's indentation.
    std::vector<std::pair<std::string, std::string>> m_members;
};

// A JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string JsonString(const std::wstring& value);

}  // namespace norvane::capture
