#include "app/message_box.h"

#include "app/loaded_string.h"

int show_message_box(HWND owner, unsigned text_id, UINT flags) {
    return MessageBoxA(owner, LoadedString(text_id).c_str(), nullptr, flags);
}
