// The registry under a trace: reads pass through untold, every change is told with its outcome.
#pragma once

#include "platform/Registry.h"
#include "platform/trace/TraceFile.h"

namespace norvane::trace {

class TraceRegistry : public platform::Registry {
public:
    TraceRegistry(platform::Registry& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    platform::WinError OpenKey(platform::RootKey root, const std::wstring& path,
                               platform::RegAccess access) override {
        return m_below.OpenKey(root, path, access);
    }
    // Told when the key is made, or when it cannot be opened; opening one that is there is no
    // change.
    platform::WinError CreateKey(platform::RootKey root, const std::wstring& path,
                                 bool* created) override;
    platform::WinError DeleteKey(platform::RootKey root, const std::wstring& path) override;
    platform::WinError EnumKey(platform::RootKey root, const std::wstring& path,
                               std::uint32_t index, std::wstring& name) override {
        return m_below.EnumKey(root, path, index, name);
    }
    platform::WinError KeyName(platform::RootKey root, const std::wstring& path,
                               std::wstring& name) override {
        return m_below.KeyName(root, path, name);
    }
    platform::WinError QueryValue(platform::RootKey root, const std::wstring& path,
                                  const std::wstring& name, std::uint32_t maxBytes,
                                  platform::RegValue& value) override {
        return m_below.QueryValue(root, path, name, maxBytes, value);
    }
    platform::WinError QueryValueSize(platform::RootKey root, const std::wstring& path,
                                      const std::wstring& name, std::uint32_t& bytes) override {
        return m_below.QueryValueSize(root, path, name, bytes);
    }
    platform::WinError SetValue(platform::RootKey root, const std::wstring& path,
                                const std::wstring& name, const platform::RegValue& value) override;
    platform::WinError DeleteValue(platform::RootKey root, const std::wstring& path,
                                   const std::wstring& name) override;
    platform::WinError EnumValue(platform::RootKey root, const std::wstring& path,
                                 std::uint32_t index, std::wstring& name,
                                 platform::RegValue& value) override {
        return m_below.EnumValue(root, path, index, name, value);
    }

private:
    platform::Registry& m_below;
    TraceFile& m_trace;
};

}  // namespace norvane::trace
