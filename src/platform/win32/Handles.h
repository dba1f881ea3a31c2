// Owners of the handles and buffers Windows hands out: each closes or frees what it holds when it
// goes out of scope, so no early return can leak one.
#pragma once

#include <utility>

#include "platform/win32/WinApi.h"

namespace norvane::win32 {

// A unique owner, after WIL's unique_any: Traits gives the handle type, its empty value and the
// call that releases it.
template <typename Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type value) : m_value(value) {}
    Unique(Unique&& other) noexcept : m_value(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    Type Get() const { return m_value; }
    explicit operator bool() const { return m_value != Traits::Empty(); }

    // The address of the handle for a call that returns one through a pointer; whatever was held
    // before is released first.
    Type* Put() {
        Reset();
        return &m_value;
    }

    Type Release() { return std::exchange(m_value, Traits::Empty()); }

    void Reset(Type value = Traits::Empty()) {
        const Type old = std::exchange(m_value, value);
        if (old != Traits::Empty())
            Traits::Close(old);
    }

private:
    Type m_value = Traits::Empty();
};

struct KeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static void Close(Type key) { RegCloseKey(key); }
};

// FindFirstFileW and CreateFileW report failure with INVALID_HANDLE_VALUE, not null.
struct FindTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type find) { FindClose(find); }
};

struct FileTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type file) { CloseHandle(file); }
};

// Kernel objects that are null when absent: processes, threads, access tokens.
struct HandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type handle) { CloseHandle(handle); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static void Close(Type module) { FreeLibrary(module); }
};

struct PrinterTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type printer) { ClosePrinter(printer); }
};

struct SidTraits {
    using Type = PSID;
    static Type Empty() { return nullptr; }
    static void Close(Type sid) { FreeSid(sid); }
};

struct IconTraits {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static void Close(Type icon) { DestroyIcon(icon); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Empty() { return nullptr; }
    static void Close(Type window) { DestroyWindow(window); }
};

// A buffer that Windows allocated with LocalAlloc on the caller's behalf.
template <typename T>
struct LocalTraits {
    using Type = T*;
    static Type Empty() { return nullptr; }
    static void Close(Type memory) { LocalFree(memory); }
};

using UniqueKey = Unique<KeyTraits>;
using UniqueFind = Unique<FindTraits>;
using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<HandleTraits>;
using UniqueToken = UniqueHandle;
using UniqueModule = Unique<ModuleTraits>;
using UniquePrinter = Unique<PrinterTraits>;
using UniqueSid = Unique<SidTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueWindow = Unique<WindowTraits>;
template <typename T>
using UniqueLocal = Unique<LocalTraits<T>>;

}  // namespace norvane::win32
