// Restarting the computer at once into the system just made the loader's default.
#pragma once

#include "../platform/platform.h"

// Enables SeShutdownPrivilege in the process's own token. Returns 1 when the token was
// adjusted, 0 when the token could not be opened or adjusted.
int EnableShutdownPrivilege();

// Enables the privilege (its result does not matter: where there is no token to adjust the
// request may still be granted) and asks for a forced reboot, which other programs are not
// asked about. Returns ExitWindowsEx's result: non-zero when the restart is under way.
BOOL RestartSystem();
