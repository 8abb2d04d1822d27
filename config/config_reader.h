// Reads the tunnel client's configuration files (key=value lines, "#" comments) into a
// record, changing only the fields whose keys the file sets.
#pragma once

#include <cstddef>

class ConfigRecord;

// False when the file cannot be opened; the record is then untouched. The file is read in
// small blocks, so memory stays bounded whatever it holds.
bool read_config_file(const char* path, ConfigRecord& record);

// The reading itself, on a text in memory.
void read_config_text(const char* text, std::size_t size, ConfigRecord& record);
