#include "platform/win32/Win32Resources.h"

#include "platform/win32/Handles.h"
#include "platform/win32/LastError.h"

namespace norvane::win32 {

class ModuleLibrary final : public platform::ResourceLibrary {
public:
    ModuleLibrary(UniqueModule module, Win32Resources& owner)
        : m_module(std::move(module)), m_owner(owner) {
        m_owner.m_language = m_module.Get();
    }
    ~ModuleLibrary() override {
        if (m_owner.m_language == m_module.Get())
            m_owner.m_language = nullptr;
    }
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    std::wstring LoadString(std::uint32_t id) override {
        // With a size of 0 LoadStringW hands out a pointer into the resource itself (not ended
        // by a null) and returns its length, so no text is ever cut to a buffer.
        const wchar_t* text = nullptr;
        const int length = LoadStringW(m_module.Get(), id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length))
                                  : std::wstring();
    }

private:
    UniqueModule m_module;
    Win32Resources& m_owner;
};

platform::WinError Win32Resources::LoadLibrary(
    const std::wstring& path, std::unique_ptr<platform::ResourceLibrary>& library) {
    library.reset();
    UniqueModule module(LoadLibraryW(path.c_str()));
    if (!module)
        return LastError();
    library = std::make_unique<ModuleLibrary>(std::move(module), *this);
    return platform::win::kSuccess;
}

}  // namespace norvane::win32
