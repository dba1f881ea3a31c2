#include "platform/trace/TraceRegistry.h"

#include "platform/ChangeText.h"

namespace norvane::trace {

using platform::ChangeText;
using platform::FullKeyName;

platform::WinError TraceRegistry::CreateKey(platform::RootKey root, const std::wstring& path,
                                            bool* created) {
    bool made = false;
    const platform::WinError error = m_below.CreateKey(root, path, &made);
    if (created)
        *created = made;
    if (made || error)
        m_trace.Change(ChangeText(L"RegCreateKey", {FullKeyName(root, path)}), error);
    return error;
}

platform::WinError TraceRegistry::DeleteKey(platform::RootKey root, const std::wstring& path) {
    const platform::WinError error = m_below.DeleteKey(root, path);
    m_trace.Change(ChangeText(L"RegDeleteKey", {FullKeyName(root, path)}), error);
    return error;
}

platform::WinError TraceRegistry::SetValue(platform::RootKey root, const std::wstring& path,
                                           const std::wstring& name,
                                           const platform::RegValue& value) {
    const platform::WinError error = m_below.SetValue(root, path, name, value);
    m_trace.Change(ChangeText(L"RegSetValue", {FullKeyName(root, path), name}), error);
    return error;
}

platform::WinError TraceRegistry::DeleteValue(platform::RootKey root, const std::wstring& path,
                                              const std::wstring& name) {
    const platform::WinError error = m_below.DeleteValue(root, path, name);
    m_trace.Change(ChangeText(L"RegDeleteValue", {FullKeyName(root, path), name}), error);
    return error;
}

}  // namespace norvane::trace
