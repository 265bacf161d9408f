// The settings editor's one application object; the platform's entry point runs it.
#include "settings/tavrel_settings_app.h"

CTavrelSettingsApp theApp;
