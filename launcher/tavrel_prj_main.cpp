// The launcher's one application object; the platform's entry point runs it.
#include "launcher/tavrel_prj_app.h"
#include "platform/base/startup_steps.h"
#include "platform/shell/icon_theme.h"

CTavrelPrjApp theApp;

// The first paint looks up an icon for every row: the themes are indexed while the screen opens.
[[maybe_unused]] const bool iconThemesIndexedAtStartup =
    platform::AddStartupStep({platform::StartupNeed::atTheFirstPaint,
                              platform::BeginIndexingIconThemes, platform::EndIndexingIconThemes});
