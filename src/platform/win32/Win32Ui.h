// The Ui service: common controls, message boxes and the first instance's window.
#pragma once

#include "platform/Ui.h"

namespace norvane::win32 {

class Win32Ui final : public platform::Ui {
public:
    bool InitCommonControls() override;
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   std::uint32_t type) override;
    bool ActivateWindow(const std::wstring& className, const std::wstring& title) override;
};

}  // namespace norvane::win32
