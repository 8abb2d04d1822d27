// Every window of the program laid out at 96, 120, 144 and 192 DPI, as WM_DPICHANGED brings
// them (Wine never moves a window between monitors itself): each control where its 96-DPI
// rectangle scaled puts it, and no text larger than its control in the control's own font.
// Run once in English and once under a French (Canada) interface.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "e2e/program_driver.h"
#include "res/resource.h"
#include "ui/control_table.h"
#include "ui/dpi_scale.h"
#include "win/demo_installation.h"

namespace {

std::string class_of(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A window's rectangle in its parent's client area (a top-level window's: its size only).
RECT placed(HWND window) {
    RECT area = {};
    GetWindowRect(window, &area);
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0) {
        return {0, 0, area.right - area.left, area.bottom - area.top};
    }
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// The program's windows and controls, down through pages and the Prefix group.
std::vector<HWND> program_windows(HWND top) {
    std::vector<HWND> found = {top};
    for (std::size_t at = 0; at < found.size(); ++at) {
        const std::string name = class_of(found[at]);
        if (at > 0 && name != "SysTabControl32" && name != "TabDialog" &&
            GetDlgCtrlID(found[at]) != IDC_PREFIX_GROUP) {
            continue; // the system's own children (list header, combo parts) are not ours
        }
        for (HWND child = GetWindow(found[at], GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            found.push_back(child);
        }
    }
    return found;
}

SIZE text_size(HWND control, const std::string& text) {
    const HDC context = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT area = {};
    DrawTextA(context, text.c_str(), -1, &area, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(context, previous);
    ReleaseDC(control, context);
    return {area.right - area.left, area.bottom - area.top};
}

// What a control needs beside its text, in 96-DPI units: a check box its box, a button its
// border, a group box its indent.
SIZE room_beside_text(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (class_of(control) != "Button") {
        return {0, 0};
    }
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
        return {16, 0};
    case BS_GROUPBOX:
        return {16, 0};
    default:
        return {8, 4};
    }
}

// Each text that does not fit its control, named; empty when all fit.
std::string texts_too_large(const std::vector<HWND>& windows, unsigned dpi) {
    std::string faults;
    for (const HWND window : windows) {
        const std::string name = class_of(window);
        if (name == "SysTabControl32") {
            // The row of tabs stays above the pages.
            RECT tab = {}, page = {};
            SendMessageA(window, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
            GetWindowRect(GetWindow(window, GW_CHILD), &page);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&page), 2);
            if (tab.bottom > page.top) {
                faults += " tabs";
            }
            continue;
        }
        if ((name != "Static" && name != "Button") || window_text(window).empty()) {
            continue;
        }
        const SIZE text = text_size(window, window_text(window));
        const SIZE room = room_beside_text(window);
        RECT area = {};
        GetClientRect(window, &area);
        if (text.cx + scale_to_dpi(room.cx, dpi) > area.right ||
            text.cy + scale_to_dpi(room.cy, dpi) > area.bottom) {
            faults += " \"" + window_text(window) + "\"";
        }
    }
    return faults;
}

void change_dpi(HWND window, unsigned dpi, const RECT& at_96) {
    RECT suggested = placed(window);
    OffsetRect(&suggested, 50, 40);
    suggested.right = suggested.left + scale_to_dpi(at_96.right, dpi);
    suggested.bottom = suggested.top + scale_to_dpi(at_96.bottom, dpi);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The test's thread owns the windows: the status monitor's messages to them need its loop.
bool wait_dispatching(const std::function<bool()>& condition) {
    return wait_until([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        return condition();
    });
}

bool icon_exists(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return false;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

HFONT font_of(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

class Layout : public ::testing::Test {
protected:
    // The program's windows, made as the program makes them; they live as long as the process,
    // as in the program (its workers hold on to the main window).
    static void SetUpTestSuite() {
        // A stopped service shows the program's own icon, which a new size replaces.
        demo = new DemoInstallation();
        demo->install();
        app_instance = GetModuleHandleA(nullptr);
        main_window = new MainWindow("RYX Client GUI", WS_CAPTION | WS_SYSMENU, &MainWindow::area,
                                     app_instance);
        main_window->create();
        main_window->show();
        const HWND page =
            FindWindowExA(FindWindowExA(main_window->handle(), nullptr, "SysTabControl32", nullptr),
                          nullptr, "TabDialog", nullptr);
        SendMessageA(GetDlgItem(page, IDC_ADVANCED), BM_CLICK, 0, 0);
        advanced = FindWindowA("AdvancedDialog", nullptr);
    }

    static void TearDownTestSuite() { delete demo; }

    static HWND advanced;
    static DemoInstallation* demo;
};

HWND Layout::advanced = nullptr;
DemoInstallation* Layout::demo = nullptr;

TEST_F(Layout, EveryControlScalesWithTheDpiAndEveryTextFits) {
    ASSERT_NE(nullptr, advanced);
    std::map<HWND, RECT> at_96;
    std::vector<HWND> windows;
    for (const HWND top : {main_window->handle(), advanced}) {
        for (const HWND window : program_windows(top)) {
            at_96[window] = placed(window);
            windows.push_back(window);
        }
    }
    for (const unsigned dpi : {96u, 120u, 144u, 192u}) {
        for (const HWND top : {main_window->handle(), advanced}) {
            change_dpi(top, dpi, at_96[top]);
        }
        for (const HWND window : windows) {
            const RECT want = scaled_rect(at_96[window], dpi), got = placed(window);
            // A drop-down list's height is its closed field's, which its font decides.
            const bool combo = class_of(window) == "ComboBox";
            EXPECT_TRUE(std::abs(got.left - want.left) <= 1 && std::abs(got.top - want.top) <= 1 &&
                        std::abs(got.right - want.right) <= 1 &&
                        (combo || std::abs(got.bottom - want.bottom) <= 1))
                << class_of(window) << " " << GetDlgCtrlID(window) << " at " << dpi
                << " DPI: " << got.left << "," << got.top << "," << got.right << "," << got.bottom
                << " instead of " << want.left << "," << want.top << "," << want.right << ","
                << want.bottom;
        }
        EXPECT_EQ("", texts_too_large(windows, dpi)) << "at " << dpi << " DPI";
    }
}

TEST_F(Layout, NewDpiMakesEachFontAndIconOnceAndLetsTheOldOnesGo) {
    const HWND window = main_window->handle();
    const HWND icon_control = GetDlgItem(window, IDC_STATUS_ICON);
    const RECT at_96 = {0, 0, 646, 526};
    const auto status_icon = [&] {
        return reinterpret_cast<HICON>(SendMessageA(icon_control, STM_GETICON, 0, 0));
    };
    change_dpi(window, 96, at_96);
    // The service shows as stopped, with the program's own icon, not the system's shared one.
    const auto warning =
        static_cast<HICON>(LoadImageA(nullptr, IDI_EXCLAMATION, IMAGE_ICON, 16, 16, LR_SHARED));
    ASSERT_TRUE(wait_dispatching([&] { return status_icon() && status_icon() != warning; }));
    for (int change = 0; change < 10; ++change) {
        const unsigned dpi = change % 2 == 0 ? 144 : 96;
        const HWND start = GetDlgItem(window, IDC_START);
        const HFONT old_font = font_of(start);
        const HICON old_icon = status_icon();
        change_dpi(window, dpi, at_96);
        // Every control shares the one new font; the old one is deleted.
        EXPECT_NE(old_font, font_of(start));
        EXPECT_EQ(font_of(start),
                  font_of(FindWindowExA(window, nullptr, "SysTabControl32", nullptr)));
        EXPECT_EQ(0u, GetObjectType(old_font));
        // The status monitor loads the icons at their new size and destroys the old ones.
        ASSERT_TRUE(wait_dispatching([&] { return status_icon() != old_icon; }));
        EXPECT_TRUE(wait_dispatching([&] { return !icon_exists(old_icon); }));
        RECT icon_area = {};
        GetClientRect(icon_control, &icon_area);
        EXPECT_EQ(scale_to_dpi(16, dpi), icon_area.right);
    }
}

} // namespace
