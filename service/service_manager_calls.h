// The Service Control Manager calls that ServiceControl makes, gathered in one table so that
// a test can stand in for the manager where the system cannot be made to refuse access.
#pragma once

#include <windows.h>

struct ServiceManagerCalls {
    SC_HANDLE(WINAPI* open_manager)(LPCSTR machine, LPCSTR database, DWORD access);
    SC_HANDLE(WINAPI* open_service)(SC_HANDLE manager, LPCSTR name, DWORD access);
    BOOL(WINAPI* query_status)(SC_HANDLE service, LPSERVICE_STATUS status);
    BOOL(WINAPI* start_service)(SC_HANDLE service, DWORD argument_count, LPCSTR* arguments);
    BOOL(WINAPI* control_service)(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status);
    BOOL(WINAPI* close_handle)(SC_HANDLE handle);

    // The real manager.
    static const ServiceManagerCalls system;
};
