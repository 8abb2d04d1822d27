// A handle that one function opens and closes itself: closed on every way out. The handles
// the program keeps for its whole run stay plain members.
#pragma once

#include <windows.h>

template <typename Handle, typename Result>
class OwnedHandle {
public:
    using Closer = Result(WINAPI*)(Handle);

    OwnedHandle(Handle handle, Closer close) : handle_(handle), close_(close) {}
    ~OwnedHandle() {
        if (is_open()) {
            close_(handle_);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle get() const { return handle_; }
    // Win32 says "nothing opened" with null or with INVALID_HANDLE_VALUE, by function.
    bool is_open() const {
        return handle_ != nullptr && reinterpret_cast<void*>(handle_) != INVALID_HANDLE_VALUE;
    }

private:
    Handle handle_;
    Closer close_;
};
