// The stand-in tunnel client installed for one test, and the machine put back afterwards: no
// service "ryx", no registry key, no files of its own.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "support/temp_dir.h"

class ServiceControl;

class DemoInstallation {
public:
    // Into the given directory, else a new one; first removes a service "ryx" left behind by
    // an earlier, interrupted run.
    explicit DemoInstallation(const std::string& directory = "");
    ~DemoInstallation();
    DemoInstallation(const DemoInstallation&) = delete;
    DemoInstallation& operator=(const DemoInstallation&) = delete;

    // "ryxc-demo.exe install DIR" / "ryxc-demo.exe uninstall"; true on exit code 0.
    bool install() const;
    bool uninstall() const;

    // A file of the install directory (a new one has a space and a parent that install has to
    // create).
    std::string file(const char* name) const { return dir_ + "\\" + name; }

private:
    TempDir temp_;
    std::string dir_;
};

// Polls the service until it reports the wanted state or the deadline passes; returns the last
// state read and adds every state read to seen.
DWORD wait_for_state(ServiceControl& service, DWORD wanted, DWORD timeout_ms,
                     std::set<DWORD>* seen = nullptr);
