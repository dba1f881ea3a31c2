// A screen area saved as a PNG file (true colour, stored without compression: the pictures are
// few and small, and a stored deflate stream needs no library).
#pragma once

#include <windows.h>

#include <string>

bool SaveScreenArea(const RECT& area, const std::wstring& path);
