// Language resource libraries: LoadLibraryW of a resource-only DLL, and its strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/WinError.h"

namespace norvane::platform {

// A loaded library; FreeLibrary is the destructor's job.
class ResourceLibrary {
public:
    virtual ~ResourceLibrary() = default;
    // LoadStringW: the text of a string-table entry; empty when there is none.
    virtual std::wstring LoadString(std::uint32_t id) = 0;
};

class Resources {
public:
    virtual ~Resources() = default;
    [[nodiscard]] virtual WinError LoadLibrary(const std::wstring& path,
                                               std::unique_ptr<ResourceLibrary>& library) = 0;
};

}  // namespace norvane::platform
