// A block of memory inside another process, for the window messages whose parameters point
// to records and text buffers: the record and its buffer must live in the target process.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class RemoteMemory {
public:
    // Memory in the process that owns the window.
    RemoteMemory(HWND window, std::size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool valid() const { return address_ != nullptr; }
    char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool write(std::size_t offset, const void* data, std::size_t size) const;
    bool read(std::size_t offset, void* data, std::size_t size) const;
    std::string read_text(std::size_t offset, std::size_t capacity) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// Texts that live in another process's controls.
std::string tooltip_text(HWND tooltip, HWND tool_window, UINT_PTR tool_id);
std::string tab_text(HWND tab_control, int index);
