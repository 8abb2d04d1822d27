// Reads the tunnel client's configuration files (key=value lines, "#" comments) into a
// record, changing only the fields whose keys the file sets.
#pragma once

#include <iosfwd>

class ConfigRecord;

// False when the file cannot be opened; the record is then untouched.
bool read_config_file(const char* path, ConfigRecord& record);

// The reading itself, on any stream; it always comes to an end, whatever the stream holds.
void read_config_stream(std::istream& in, ConfigRecord& record);
