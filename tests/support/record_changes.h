// The values of a record that differ from the tunnel client's defaults, one "field=value" line
// each in the record's order, so that tests compare whole records and a failure shows every
// difference. An empty text shows as "(null)", as its getter gives it.
#pragma once

#include <string>

class ConfigRecord;

std::string changes(const ConfigRecord& record);
