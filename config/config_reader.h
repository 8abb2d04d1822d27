// Reads the tunnel client's configuration files (key=value lines, "#" comments) into a
// record, changing only the fields whose keys the file sets.
#pragma once

#include <cstddef>

class ConfigRecord;

// What came of reading a file: only a file read whole changes the record.
enum class ConfigFileRead {
    read,
    missing,
    unreadable, // there, but it could not be opened or read to its end
    not_text,   // UTF-16, which the client cannot read either
};

// The file is read in small blocks, so memory stays bounded whatever it holds.
ConfigFileRead read_config_file(const char* path, ConfigRecord& record);

// The reading itself, on a text in memory. A UTF-8 byte-order mark at its start is passed
// over; false, with the record untouched, when the text is UTF-16.
bool read_config_text(const char* text, std::size_t size, ConfigRecord& record);
