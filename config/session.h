// What start-up found of the tunnel client for this run of the program: its installation
// folder, the paths of its three files, the three configuration records and what became of
// reading the two configuration files. Made once by the entry point and handed to the main
// window, which gives each page and worker what it needs.
#pragma once

#include <cstddef>

#include "config/config_record.h"

constexpr std::size_t path_capacity = 261; // 260 characters and the terminator

struct Session {
    char install_dir[path_capacity] = {};
    char config_file_path[path_capacity] = {};
    char default_config_file_path[path_capacity] = {};
    char log_file_path[path_capacity] = {};

    ConfigRecord default_record;
    ConfigRecord file_record;
    ConfigRecord working_record; // what the Config page and the Advanced window edit

    // An unreadable configuration file is told once the main window is up; Default has
    // nothing to offer without the default file.
    bool config_file_unreadable = false;
    bool default_file_read = false;
};
