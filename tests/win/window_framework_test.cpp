#include <gtest/gtest.h>
#include <vector>

#include "ui/tab_dialog.h"
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

class TestPage : public TabDialog {
public:
    TestPage(HWND parent, const RECT* area) : TabDialog(GetModuleHandleA(nullptr), parent, area) {}
    LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
        return DefWindowProcA(window, message, wparam, lparam);
    }
};

} // namespace

TEST(WindowFramework, CentringTruncatesEachHalf) {
    const auto edges = [](const RECT& r) {
        return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
    };
    EXPECT_EQ(edges({189, 121, 835, 647}), edges(WindowObject::centred(646, 526, 1024, 768)));
    // One pixel lost: 645 wide.
    EXPECT_EQ(edges({-2, 121, 643, 647}), edges(WindowObject::centred(646, 526, 641, 768)));
    EXPECT_EQ(edges({318, 205, 705, 563}), edges(WindowObject::centred(387, 358, 1024, 768)));
}

TEST(WindowFramework, WindowIsCentredAndEveryMessageFromCreationReachesTheObject) {
    const RECT area = {50, 50, 50 + 300, 50 + 200}; // the origin is ignored
    RecordingWindow window(&area);
    window.create();
    ASSERT_NE(nullptr, window.handle());
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), window.messages.front());

    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT placed = {};
    GetWindowRect(window.handle(), &placed);
    EXPECT_EQ((desktop.right - desktop.left - 300) / 2, placed.left);
    EXPECT_EQ((desktop.bottom - desktop.top - 200) / 2, placed.top);
    EXPECT_EQ(300, placed.right - placed.left);
    EXPECT_EQ(200, placed.bottom - placed.top);

    // Once the window is gone, its object is told and no message reaches it through it.
    const HWND handle = window.handle();
    DestroyWindow(handle);
    EXPECT_EQ(nullptr, window.handle());
    EXPECT_EQ(static_cast<UINT>(WM_NCDESTROY), window.messages.back());
    EXPECT_EQ(0, GetWindowLongPtrA(handle, GWLP_USERDATA));
}

TEST(WindowFramework, PagesShareOneClassAndSwitchVisibility) {
    const RECT area = {0, 0, 400, 300};
    RecordingWindow parent(&area);
    parent.create();
    const RECT page_area = {1, 25, 380, 280};
    TestPage first(parent.handle(), &page_area);
    TestPage second(parent.handle(), &page_area);
    ASSERT_TRUE(first.create());
    ASSERT_TRUE(second.create()); // the class is already registered: it is used as it is
    ASSERT_NE(nullptr, first.handle());
    ASSERT_NE(nullptr, second.handle());

    EXPECT_FALSE(IsWindowVisible(first.handle())); // pages are created hidden
    EXPECT_EQ(WS_EX_CONTROLPARENT | WS_EX_TRANSPARENT,
              GetWindowLongA(first.handle(), GWL_EXSTYLE) &
                  (WS_EX_CONTROLPARENT | WS_EX_TRANSPARENT));
    RECT placed = {};
    GetWindowRect(first.handle(), &placed);
    MapWindowPoints(nullptr, parent.handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(1, placed.left); // in the parent's coordinates, not centred
    EXPECT_EQ(25, placed.top);

    EXPECT_FALSE(first.activate()); // was hidden
    EXPECT_TRUE(IsWindowEnabled(first.handle()));
    EXPECT_TRUE(first.activate()); // was shown
    EXPECT_TRUE(first.deactivate());
    EXPECT_FALSE(IsWindowEnabled(first.handle()));
    EXPECT_FALSE(first.deactivate());
}
