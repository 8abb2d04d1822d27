// The system's shield, which marks what Windows will ask about, as a bitmap a menu item can show
// beside its text.
#pragma once

#include <windows.h>

// A 32-bit bitmap with the shield drawn at size (its alpha kept); null when there is none. The
// caller deletes it.
HBITMAP shield_bitmap(int size);
