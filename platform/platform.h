#pragma once
// Everything the system asks of its platform, handed to the page at start.
#include "platform/application_view.h"
#include "platform/calendar.h"
#include "platform/clipboard.h"
#include "platform/dispatcher_timer.h"
#include "platform/downloads.h"
#include "platform/language.h"
#include "platform/launcher.h"
#include "platform/message_dialog.h"
#include "platform/resources.h"
#include "platform/secondary_tiles.h"
#include "platform/store.h"
#include "platform/system_info.h"
#include "platform/web_view.h"
#include "platform/ui/layout.h"

namespace platform {

struct PlatformServices {
    MessageDialogs& Dialogs;
    Resources& Strings;
    DispatcherTimers& Timers;
    ApplicationView& View;
    SystemInfo& System;
    Calendar& Clock;
    WebViews& Browsers;
    // Reads the page markup and other bundled files by resource path
    // ("/app/wMain.xaml"); empty when absent.
    std::function<std::string(const std::string& path)> ReadBundledFile;
    Clipboard& Clip;
    DownloadServices Downloads;
    Launcher& Launch;
    SecondaryTiles& Tiles;
    Store& Purchases;
    Language& Lang;
};

} // namespace platform
