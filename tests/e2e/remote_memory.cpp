#include "e2e/remote_memory.h"

#include <commctrl.h>

#include <vector>

namespace {
constexpr std::size_t text_capacity = 512;
}

RemoteMemory::RemoteMemory(HWND window, std::size_t size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    if (process_ != nullptr) {
        address_ =
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
}

RemoteMemory::~RemoteMemory() {
    if (address_ != nullptr) {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

bool RemoteMemory::write(std::size_t offset, const void* data, std::size_t size) const {
    return address_ != nullptr && WriteProcessMemory(process_, at(offset), data, size, nullptr);
}

bool RemoteMemory::read(std::size_t offset, void* data, std::size_t size) const {
    return address_ != nullptr && ReadProcessMemory(process_, at(offset), data, size, nullptr);
}

std::string RemoteMemory::read_text(std::size_t offset, std::size_t capacity) const {
    std::vector<char> text(capacity + 1, '\0');
    if (!read(offset, text.data(), capacity)) {
        return std::string();
    }
    return text.data();
}

std::string tooltip_text(HWND tooltip, HWND tool_window, UINT_PTR tool_id) {
    const RemoteMemory memory(tooltip, sizeof(TOOLINFOA) + text_capacity);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = tool_window;
    tool.uId = tool_id;
    tool.lpszText = memory.at(sizeof tool);
    const char empty = '\0';
    if (!memory.write(0, &tool, sizeof tool) || !memory.write(sizeof tool, &empty, 1)) {
        return std::string();
    }
    SendMessageA(tooltip, TTM_GETTEXTA, text_capacity, reinterpret_cast<LPARAM>(memory.at(0)));
    return memory.read_text(sizeof tool, text_capacity);
}

std::string tab_text(HWND tab_control, int index) {
    const RemoteMemory memory(tab_control, sizeof(TCITEMA) + text_capacity);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = memory.at(sizeof item);
    item.cchTextMax = static_cast<int>(text_capacity);
    if (!memory.write(0, &item, sizeof item)) {
        return std::string();
    }
    SendMessageA(tab_control, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(memory.at(0)));
    return memory.read_text(sizeof item, text_capacity);
}
