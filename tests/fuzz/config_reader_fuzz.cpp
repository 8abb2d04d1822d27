// Any bytes as a configuration file: the reader must end and stay inside its buffers, which
// AddressSanitizer and UndefinedBehaviorSanitizer watch. What it makes of the lines is the unit
// tests' table, not this target's.
#include <cstdint>

#include "config/config_reader.h"
#include "config/config_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ConfigRecord record;
    read_config_text(reinterpret_cast<const char*>(data), size, record);
    return 0;
}
