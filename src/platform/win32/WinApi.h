// The Windows headers the backend needs, in one place. Windows defines many of its functions as
// macros that pick the A or W form (DeleteFile, LoadLibrary, MessageBox, OpenPrinter, ...); the
// seam has methods of the same names, so those macros are removed here and the backend always
// calls the W functions by their full names.
#pragma once

// Wide text throughout: TEXT() constants such as SE_SHUTDOWN_NAME become wide strings.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
// The headers below depend on windows.h coming first.
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <winspool.h>

#undef AddPrinter
#undef CreateDirectory
#undef DeleteFile
#undef DeleteMonitor
#undef DeletePrintProcessor
#undef DeletePrinterConnection
#undef DeletePrinterDriver
#undef DocumentProperties
#undef EnumPrinters
#undef GetCurrentDirectory
#undef GetDefaultPrinter
#undef LoadLibrary
#undef LoadString
#undef MessageBox
#undef OpenPrinter
#undef PathFileExists
#undef PathIsDirectory
#undef RemoveDirectory
#undef SetCurrentDirectory
#undef SetDefaultPrinter
