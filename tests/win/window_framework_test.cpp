// The base of every window: where a window lands, and the object bound to its window for exactly
// the window's life.
#include <gtest/gtest.h>
#include <vector>

#include "ui/window_object.h"

namespace {

// A window that notes every message it is handed.
class RecordingWindow : public WindowObject {
public:
    explicit RecordingWindow(const RECT* area)
        : WindowObject("RyxTestWindow", "test", WS_OVERLAPPEDWINDOW, area,
                       GetModuleHandleA(nullptr)) {}
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
        messages.push_back(message);
        return DefWindowProcA(window, message, wparam, lparam);
    }
    std::vector<UINT> messages;
};

} // namespace

TEST(WindowFramework, CentringTruncatesEachHalf) {
    const auto edges = [](const RECT& r) {
        return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ(edges({189, 121, 835, 647}), edges(WindowObject::centred(646, 526, 1024, 768)));
    // One pixel lost: 645 wide.
    EXPECT_EQ(edges({-2, 121, 643, 647}), edges(WindowObject::centred(646, 526, 641, 768)));
}

TEST(WindowFramework, EveryMessageFromCreationReachesTheObject) {
    const RECT area = {50, 50, 50 + 300, 50 + 200}; // the origin is ignored
    RecordingWindow window(&area);
    window.create();
    ASSERT_NE(nullptr, window.handle());
    // Messages sent before WM_NCCREATE (WM_GETMINMAXINFO) get the default handling.
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), window.messages.at(0));

    // WM_NCDESTROY is the last message the object sees, and it learns that its window is gone.
    DestroyWindow(window.handle());
    EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), window.messages.back());
    EXPECT_EQ(nullptr, window.handle());
}
