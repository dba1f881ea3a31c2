// The texts the run shows and writes, from the language library that start-up loaded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Resources.h"

namespace norvane {

struct Texts {
    // Text `id`; empty when no library is loaded or it lacks the text.
    std::wstring Load(std::uint32_t id) const {
        return m_hResourceLib ? m_hResourceLib->LoadString(id) : std::wstring();
    }

    std::unique_ptr<platform::ResourceLibrary> m_hResourceLib;
    std::uint32_t m_nLangId = 0;  // the language the library was chosen for
};

}  // namespace norvane
