// Sets up and removes the stand-in client on a machine: its files, the service "ryx" and the
// registry value "installdir" through which the front-end finds it.
#pragma once

// Creates dir, copies this program into it, creates (or updates) the service, records dir
// in the registry and writes the configuration files. Safe to run again.
// False, with the reason on stderr, when a step failed.
bool install_demo(const char* dir);

// Stops the service (waiting for it, within bounds), deletes it and the registry value.
// The install directory stays as it is.
bool uninstall_demo();
