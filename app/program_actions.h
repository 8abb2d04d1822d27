// The actions the program runs instead of its window: start or stop the service and wait for
// it, or write the installation's configuration from a file. Without any window or box and
// outside the session's claim, for an elevated run of the program that the user's own run
// starts; the exit code is all it tells.
#pragma once

#include <windows.h>

#include "base/program_action.h"

// The system's error code of the action, 0 when it was done: the one that the service manager,
// the file or the writer gave, and
// - 1 without an installation, as the window would end;
// - ERROR_INVALID_PARAMETER (87) for a command line the program does not take;
// - ERROR_SERVICE_ALREADY_RUNNING (1056) for --start, ERROR_SERVICE_NOT_ACTIVE (1062) for
//   --stop, when the service already is where it was asked to go;
// - ERROR_SERVICE_NOT_ACTIVE when a started service stopped before it ran,
//   ERROR_SERVICE_REQUEST_TIMEOUT (1053) when it did not get there within 30 seconds;
// - ERROR_INVALID_DATA (13) for a file that is no text, or a configuration that Apply would
//   refuse; nothing is written then.
DWORD run_action(const ActionRequest& request);
