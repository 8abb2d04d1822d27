// The program's arguments, split as the Windows C runtime splits a command line, and an
// argument quoted so that it comes back whole. Platform-free.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name (WinMain's command line): blanks and tabs separate
// them; a quoted part keeps its blanks; 2n backslashes before a quote give n backslashes and
// the quote opens or closes a quoted part, 2n + 1 give n and the quote itself; two quotes
// inside a quoted part give one; other backslashes stand for themselves. Bytes in the system's
// code page (accents) pass as they are.
std::vector<std::string> split_arguments(const char* command_line);

// The argument as a command line writes it, for split_arguments (and the C runtime) to give
// it back unchanged: quoted, with the backslashes before a quote doubled.
std::string quote_argument(const std::string& argument);
