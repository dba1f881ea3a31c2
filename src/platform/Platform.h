// The one seam between the program and Windows: every service the core may use. The controller
// receives a Platform at construction; nothing in the core reaches the host any other way.
#pragma once

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "platform/Security.h"
#include "platform/Spooler.h"
#include "platform/SystemInfo.h"
#include "platform/Ui.h"

namespace norvane::platform {

struct Platform {
    Spooler& spooler;
    Registry& registry;
    Profile& profile;
    FileSystem& files;
    Processes& processes;
    Security& security;
    SystemInfo& system;
    Resources& resources;
    Clock& clock;
    Ui& ui;
};

}  // namespace norvane::platform
