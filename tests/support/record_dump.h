// All fourteen values of a record as one readable text, so that tests compare whole
// records and a failure shows every difference.
#pragma once

#include <string>

class ConfigRecord;

std::string dump(const ConfigRecord& record);
