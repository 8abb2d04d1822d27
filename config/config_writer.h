// Writes a record to the tunnel client's configuration file, whole, in its fixed commented
// layout. A failed write leaves the old file exactly as it was.
#pragma once

#include <string>

#include "config/clock_time.h"
#include "config/file_calls.h"

class ConfigRecord;

// Stamped with the local clock.
bool write_config_file(const char* path, const char* install_dir, const ConfigRecord& record,
                       unsigned long* error = nullptr);

// False, with the old file untouched and no file of its own left behind, unless every line
// reached the file and the file took the old one's place. error, when given, receives why:
// the system's error code of the step that failed (GetLastError's on Windows), 0 after a
// write that succeeded.
bool write_config_file(const char* path, const char* install_dir, const ConfigRecord& record,
                       const ClockTime& stamp, const FileCalls& calls = FileCalls::system,
                       unsigned long* error = nullptr);

// The layout itself: the whole text of the file, with "\n" line ends.
std::string config_file_text(const char* install_dir, const ConfigRecord& record,
                             const ClockTime& stamp);
// The same as the file holds it: with this platform's line ends.
std::string config_file_bytes(const char* install_dir, const ConfigRecord& record,
                              const ClockTime& stamp);
