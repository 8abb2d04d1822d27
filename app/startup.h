// Everything before the main window exists: the installation found through the registry,
// the paths of the client's files, and the three configuration records. All of it is
// process-wide, set once at start-up and kept until the process ends.
#pragma once

#include <windows.h>

#include <cstddef>

#include "config/config_record.h"

class MainWindow;

constexpr std::size_t path_capacity = 261; // 260 characters and the terminator

extern HINSTANCE app_instance;
extern MainWindow* main_window;

extern char install_dir[path_capacity];
extern char config_file_path[path_capacity];
extern char default_config_file_path[path_capacity];
extern char log_file_path[path_capacity];

extern ConfigRecord default_record;
extern ConfigRecord file_record;
extern ConfigRecord working_record;

// What start-up made of the two files: an unreadable configuration file is told once the main
// window is up; Default has nothing to offer without the default file.
extern bool config_file_unreadable;
extern bool default_file_read;

// Resolves the paths and loads both configuration files. Without an installation it tells
// the user and ends the process with exit code 1.
bool initialise();

// Sets the four paths from the registry's "installdir"; false, with the message in
// error_text, when there is no usable installation.
bool resolve_installation_paths(char* error_text, std::size_t capacity);
