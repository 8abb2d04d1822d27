// Every window of the program laid out at 96, 120, 144 and 192 DPI and back, as WM_DPICHANGED
// brings them (Wine never moves a window between monitors itself): each control where its
// 96-DPI rectangle scaled puts it, no text larger than its control in its own font, and no font
// or icon left behind. Run once in English and once under a French (Canada) interface.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "base/loaded_string.h"
#include "e2e/program_driver.h"
#include "res/resource.h"
#include "ui/control_table.h"
#include "ui/dpi_scale.h"
#include "ui/tab_dialog.h"
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

// The program's windows and controls, down through the tab control, pages and Prefix group,
// but not the system's own parts of a control (a list's header, a combo box's list).
std::vector<HWND> program_windows(std::vector<HWND> found) {
    for (std::size_t at = 0; at < found.size(); ++at) {
        const std::string name = class_of(found[at]);
        if (at < 2 || name == "SysTabControl32" || name == "TabDialog" ||
            GetDlgCtrlID(found[at]) == IDC_PREFIX_GROUP) {
            for (HWND c = GetWindow(found[at], GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                found.push_back(c);
            }
        }
    }
    return found;
}

// Whether a label's, button's or box's text fits it in its font, with room (in 96-DPI units)
// for a check box's box or a group box's indent (16), or a button's border (8 by 4).
bool text_fits(HWND control, unsigned dpi) {
    const std::string text = window_text(control), name = class_of(control);
    if ((name != "Static" && name != "Button") || text.empty()) {
        return true;
    }
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    const bool push = name == "Button" && type != BS_CHECKBOX && type != BS_GROUPBOX;
    const SIZE room = name == "Static" ? SIZE{0, 0} : push ? SIZE{8, 4} : SIZE{16, 0};
    const HDC context = GetDC(control);
    SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT need = {}, area = {};
    DrawTextA(context, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
    ReleaseDC(control, context);
    GetClientRect(control, &area);
    return need.right + scale_to_dpi(room.cx, dpi) <= area.right &&
           need.bottom + scale_to_dpi(room.cy, dpi) <= area.bottom;
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

// Whether each column of a list is wide enough for its header's text in the header's font.
bool header_fits(HWND list, unsigned dpi) {
    const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const HDC context = GetDC(header);
    SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
    bool fits = true;
    for (int column = 0; column < 2; ++column) {
        char text[64] = {};
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        RECT need = {};
        DrawTextA(context, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
        fits = fits && need.right + scale_to_dpi(12, dpi) <= item.cxy;
    }
    ReleaseDC(header, context);
    return fits;
}

// Pixels that stand out from a control's background (its top-left corner) as readable text
// does, whatever the colours.
int text_pixels(HWND control) {
    RECT area = {};
    GetWindowRect(control, &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const auto lightness = [](DWORD pixel) {
        return (114 * (pixel & 0xFF) + 587 * (pixel >> 8 & 0xFF) + 299 * (pixel >> 16 & 0xFF)) /
               1000;
    };
    int found = 0;
    for (const DWORD pixel : pixels) {
        found += std::abs(static_cast<int>(lightness(pixel)) -
                          static_cast<int>(lightness(pixels.front()))) >= readable_difference;
    }
    return found;
}

bool gone(HICON icon) {
    ICONINFO info = {};
    const bool found = GetIconInfo(icon, &info) != FALSE;
    DeleteObject(info.hbmColor); // the copies it makes
    DeleteObject(info.hbmMask);
    return !found;
}

} // namespace

TEST(Layout, EveryWindowFollowsTheDpiAndTheColoursInItsFontAndLetsTheOldFontsAndIconsGo) {
    // The program's windows as it makes them; they live as long as the process, as in the
    // program, whose workers hold on to the main window. A stopped service shows the program's
    // own status icon, which a new size replaces.
    const DemoInstallation demo;
    ASSERT_TRUE(demo.install());
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    // The program's texts follow the interface language: the close box's caption, for one.
    const bool french = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_FRENCH;
    EXPECT_STREQ(french ? "Quitter" : "Quit", LoadedString(IDS_QUIT_CAPTION).c_str());
    static Session session; // as long as the program's windows: kept to the end
    auto* main_window = new MainWindow("RYX Client GUI", WS_CAPTION | WS_SYSMENU, &MainWindow::area,
                                       instance, session);
    ASSERT_TRUE(main_window->create());
    main_window->show();
    const HWND window = main_window->handle();
    const HWND tabs = FindWindowExA(window, nullptr, "SysTabControl32", nullptr);
    const HWND page = FindWindowExA(tabs, nullptr, "TabDialog", nullptr);
    const HWND icon = GetDlgItem(window, IDC_STATUS_ICON), start = GetDlgItem(window, IDC_START);
    const auto shown_icon = [icon] {
        return reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    };
    const auto warning =
        static_cast<HICON>(LoadImageA(nullptr, IDI_EXCLAMATION, IMAGE_ICON, 16, 16, LR_SHARED));
    // The Logging page and the monitor come once the window is painted.
    ASSERT_TRUE(wait_dispatching([&] {
        return FindWindowExA(tabs, page, "TabDialog", nullptr) && shown_icon() &&
               shown_icon() != warning;
    }));
    const HWND logging = FindWindowExA(tabs, page, "TabDialog", nullptr);
    SendMessageA(GetDlgItem(page, IDC_ADVANCED), BM_CLICK, 0, 0);
    const HWND advanced = FindWindowA("AdvancedDialog", nullptr);
    ASSERT_NE(nullptr, advanced);

    std::map<HWND, RECT> at_96;
    const std::vector<HWND> windows = program_windows({window, advanced});
    for (const HWND w : windows) {
        at_96[w] = placed(w);
    }
    for (const unsigned dpi : {120u, 144u, 192u, 96u, 144u, 96u}) {
        const HFONT font = reinterpret_cast<HFONT>(SendMessageA(start, WM_GETFONT, 0, 0));
        const HICON old_icon = shown_icon();
        for (const HWND top : {window, advanced}) {
            RECT suggested = scaled_rect(at_96[top], dpi);
            // The Advanced window to the right, clear of the Config page's labels.
            OffsetRect(&suggested, top == window ? 50 : 1910 - suggested.right, 40);
            SendMessageA(top, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        for (const HWND w : windows) {
            const RECT want = scaled_rect(at_96[w], dpi);
            RECT got = placed(w);
            // A drop-down list's height is its closed field's, which its font decides.
            got.bottom = class_of(w) == "ComboBox" ? want.bottom : got.bottom;
            EXPECT_TRUE(EqualRect(&want, &got))
                << class_of(w) << " " << GetDlgCtrlID(w) << " at " << dpi << " DPI";
            EXPECT_TRUE(text_fits(w, dpi)) << "\"" << window_text(w) << "\" at " << dpi << " DPI";
        }
        EXPECT_TRUE(header_fits(GetDlgItem(logging, IDC_LOG_LIST), dpi)) << dpi;
        // Painted anew, every label's text shows on the page once the window is idle again.
        wait_dispatching([] { return true; });
        for (const int label : {IDC_SERVER_LABEL, IDC_USERNAME_LABEL, IDC_PASSWORD_LABEL}) {
            EXPECT_GT(text_pixels(GetDlgItem(page, label)), 20) << label << " at " << dpi;
        }
        // One new font for every control, the old one deleted; the icons loaded at their new
        // size, the old ones destroyed.
        EXPECT_EQ(0u, GetObjectType(font)) << dpi;
        EXPECT_EQ(SendMessageA(start, WM_GETFONT, 0, 0), SendMessageA(tabs, WM_GETFONT, 0, 0));
        EXPECT_TRUE(wait_dispatching([&] { return shown_icon() != old_icon && gone(old_icon); }));
    }

    // A high-contrast scheme, as Windows sets it with visual styles off: the labels of the page
    // and of the status line in the scheme's text colour, on the scheme's background.
    const int elements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_BTNFACE,
                            COLOR_BTNTEXT,  COLOR_3DSHADOW,   COLOR_3DHILIGHT,
                            COLOR_GRAYTEXT, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};
    const COLORREF black[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                              RGB(255, 255, 255), RGB(128, 128, 128), RGB(255, 255, 255),
                              RGB(63, 242, 63),   RGB(26, 235, 255),  RGB(0, 0, 0)};
    COLORREF usual[std::size(elements)];
    for (std::size_t index = 0; index < std::size(elements); ++index) {
        usual[index] = GetSysColor(elements[index]);
    }
    SendMessageA(advanced, WM_CLOSE, 0, 0);
    ASSERT_TRUE(SetSysColors(static_cast<int>(std::size(elements)), elements, black));
    wait_dispatching([] { return true; });
    for (const HWND label :
         {GetDlgItem(page, IDC_SERVER_LABEL), GetDlgItem(page, IDC_USERNAME_LABEL),
          GetDlgItem(page, IDC_ANONYMOUS), GetDlgItem(window, IDC_STATUS_LABEL)}) {
        EXPECT_GT(text_pixels(label), 20) << GetDlgCtrlID(label);
    }
    SetSysColors(static_cast<int>(std::size(elements)), elements, usual);
    wait_dispatching([] { return true; });
}
