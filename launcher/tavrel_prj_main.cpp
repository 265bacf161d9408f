// The launcher's one application object; the platform's entry point runs it.
#include "launcher/tavrel_prj_app.h"

CTavrelPrjApp theApp;
