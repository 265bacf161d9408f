// The launcher's own icon, drawn at any size: a blue tile with three finger-sized list rows, the
// middle one highlighted.
#pragma once

#include "platform/framework/resources.h"

platform::IconGroupImage DrawLauncherIcon(int size);
