// Start-up before the main window exists: the installation found through the registry, the
// paths of the client's files, and the three configuration records.
#pragma once

#include <cstddef>

#include "config/session.h"

// Sets the session's four paths from the registry's "installdir"; false, with every path
// empty and the message in error_text, when there is no usable installation.
bool resolve_installation_paths(Session& session, char* error_text, std::size_t capacity);

// Reads both configuration files into the session's records, and makes the working record.
void load_configuration(Session& session);
