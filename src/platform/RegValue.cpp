#include "platform/Registry.h"
#include "support/Text.h"

namespace norvane::platform {

RegValue RegValue::String(const std::wstring& text, RegType type) {
    RegValue value{type, text::ToUtf16Le(text)};
    value.data.push_back(0);
    value.data.push_back(0);
    return value;
}

RegValue RegValue::MultiString(const std::vector<std::wstring>& items) {
    RegValue value{RegType::MultiSz, {}};
    for (const auto& item : items) {
        const auto bytes = text::ToUtf16Le(item);
        value.data.insert(value.data.end(), bytes.begin(), bytes.end());
        value.data.push_back(0);
        value.data.push_back(0);
    }
    value.data.push_back(0);
    value.data.push_back(0);
    return value;
}

RegValue RegValue::Dword(std::uint32_t number) {
    RegValue value{RegType::Dword, {}};
    for (int i = 0; i < 4; ++i)
        value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return value;
}

std::wstring RegValue::AsString() const {
    std::wstring all = text::FromUtf16Le(data.data(), data.size());
    return all.substr(0, all.find(L'\0'));
}

std::vector<std::wstring> RegValue::AsMultiString() const {
    std::vector<std::wstring> items;
    const std::wstring all = text::FromUtf16Le(data.data(), data.size());
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = all.find(L'\0', start);
        const std::wstring item =
            all.substr(start, end == std::wstring::npos ? all.npos : end - start);
        if (item.empty())
            break;
        items.push_back(item);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return items;
}

}  // namespace norvane::platform
