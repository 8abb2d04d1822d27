// Start and Stop as the user's commands: one call each on a connection of its own, made on a
// thread that may wait as long as the service manager takes.
#pragma once

#include <windows.h>

#include "service/service_manager_calls.h"

enum class ServiceCommand { start, stop };

// The first attempt's error, 0 when the command was taken. Only a connection gone stale is
// tried again on a fresh one: a timeout or a refusal would only come again, later.
DWORD run_service_command(const char* service_name, ServiceCommand command,
                          const ServiceManagerCalls& calls = ServiceManagerCalls::system);
