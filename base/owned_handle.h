// A handle and the function that closes it: closed when the holder goes or takes another
// handle, on every path. Movable, so a class can keep one as a member and hand it on.
#pragma once

#include <windows.h>

#include <utility>

// Closed is the type the closing function takes, where it differs from the handle's own
// (DeleteObject takes any GDI object).
template <typename Handle, typename Result = BOOL, typename Closed = Handle>
class OwnedHandle {
public:
    using Closer = Result(WINAPI*)(Closed);

    OwnedHandle(Handle handle, Closer close) noexcept : handle_(handle), close_(close) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()), close_(other.close_) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
            close_ = other.close_;
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle get() const { return handle_; }
    // Win32 says "nothing opened" with null or with INVALID_HANDLE_VALUE, by function.
    bool is_open() const {
        return handle_ != nullptr && reinterpret_cast<void*>(handle_) != INVALID_HANDLE_VALUE;
    }
    // Closes what is held, and holds the new handle instead.
    void reset(Handle handle = nullptr) {
        if (handle != handle_ && is_open() && close_ != nullptr) {
            close_(handle_);
        }
        handle_ = handle;
    }
    // Hands the handle over to the caller, who closes it.
    Handle release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_;
    Closer close_;
};

// Fonts, brushes, bitmaps: any object that DeleteObject deletes.
template <typename Object>
using OwnedGdiObject = OwnedHandle<Object, BOOL, HGDIOBJ>;
