#include "service/service_command.h"

#include "service/service_control.h"

namespace {

DWORD attempt(ServiceControl& service, ServiceCommand command) {
    const bool taken = command == ServiceCommand::start ? service.start() : service.stop();
    return taken ? ERROR_SUCCESS : service.last_error();
}

} // namespace

DWORD run_service_command(const char* service_name, ServiceCommand command,
                          const ServiceManagerCalls& calls) {
    ServiceControl service(service_name, calls);
    const DWORD error = attempt(service, command);
    if (error == ERROR_INVALID_HANDLE) {
        service.reopen();
        return attempt(service, command) == ERROR_SUCCESS ? ERROR_SUCCESS : error;
    }
    return error;
}
