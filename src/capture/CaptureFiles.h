// drive_c/ of a capture: the files the removal deletes or looks into. The program folder and the
// INF files a replay reads are copied whole; every other file is a placeholder of its name and
// size, so that a capture stays small and carries no customer data.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "capture/CaptureWriter.h"
#include "inventory/Config.h"
#include "platform/Platform.h"
#include "support/Text.h"

namespace norvane::capture {

// The package drivers whose data folders, spool folders and other makers' INF files count, by
// name; nullopt for every driver.
using ChosenDrivers = std::optional<std::set<std::wstring, text::NoCaseLess>>;

// Writes the files: the program folder (`programPath`'s folder) whole; the maker's oem*.inf
// files, and any other maker's that declares a chosen driver, whole, the rest of them and their
// .pnf files as placeholders; placeholders for the files every driver of both environments names
// (a capability file, which the program reads, whole), the chosen drivers' data-folder candidates
// and spool subfolders, the monitors' and print processors' files and the shared files. What
// cannot be read is listed in the writer's `unread`. `outputFolder` is where the capture is
// written, as the machine names it (the capture folder's full path on Windows): it is left out,
// since a capture started in the program folder would otherwise copy itself without end.
void CaptureFiles(platform::Platform& platform, const PackageConfig& config,
                  const std::wstring& programPath, const ChosenDrivers& chosen,
                  const std::wstring& outputFolder, CaptureWriter& writer);

}  // namespace norvane::capture
