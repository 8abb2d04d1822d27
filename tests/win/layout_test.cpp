// Every window of the program at 120, 144 and 192 DPI and back, as WM_DPICHANGED brings them
// (Wine never moves a window between monitors itself): no text larger than its control in its
// own font, the labels painted anew, and no font or icon left behind; then in high contrast.
// Run once in English and once under a French (Canada) interface.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <functional>
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

// Whether a text fits its room in a window's font, with this much more room needed (in 96-DPI
// units).
bool fits(HWND window, const char* text, SIZE room, SIZE margin, unsigned dpi) {
    const HDC context = GetDC(window);
    SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT need = {};
    DrawTextA(context, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
    ReleaseDC(window, context);
    return need.right + scale_to_dpi(margin.cx, dpi) <= room.cx &&
           need.bottom + scale_to_dpi(margin.cy, dpi) <= room.cy;
}

// A label's, button's or box's text, with room for a check box's box or a group box's indent
// (16), or a button's border (8 by 4); and each column header's, with its margins (12).
bool text_fits(HWND control, unsigned dpi) {
    const std::string text = window_text(control), name = class_of(control);
    RECT area = {};
    GetClientRect(control, &area);
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    const bool push = name == "Button" && type != BS_CHECKBOX && type != BS_GROUPBOX;
    bool fit = (name != "Static" && name != "Button") || text.empty() ||
               fits(control, text.c_str(), {area.right, area.bottom},
                    name == "Static" ? SIZE{0, 0}
                    : push           ? SIZE{8, 4}
                                     : SIZE{16, 0},
                    dpi);
    const HWND header = reinterpret_cast<HWND>(SendMessageA(control, LVM_GETHEADER, 0, 0));
    for (int column = 0; name == "SysListView32" && column < 2; ++column) {
        char label[64] = {};
        HDITEMA item = {
            HDI_TEXT | HDI_WIDTH, 0, label, nullptr, sizeof label, 0, 0, 0, 0, 0, nullptr, 0};
        SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        fit = fit && fits(header, label, {item.cxy, area.bottom}, {12, 0}, dpi);
    }
    return fit;
}

// The test's thread owns the windows: the status monitor's messages to them need its loop.
bool wait_dispatching(const std::function<bool()>& condition) {
    return wait_until([&] {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageA(&message);
        }
        return condition();
    });
}

// Pixels of a control on the screen that stand out from its background (its top-left corner)
// as readable text does, whatever the colours.
int text_pixels(HWND control) {
    RECT area = {};
    GetWindowRect(control, &area);
    const HDC screen = GetDC(nullptr);
    const auto lightness = [screen](LONG x, LONG y) {
        const COLORREF pixel = GetPixel(screen, x, y);
        return (299 * GetRValue(pixel) + 587 * GetGValue(pixel) + 114 * GetBValue(pixel)) / 1000;
    };
    const int background = lightness(area.left, area.top);
    int found = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            found += std::abs(lightness(x, y) - background) >= readable_difference;
        }
    }
    ReleaseDC(nullptr, screen);
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
    // The program's texts follow the interface language: the close box's caption, for one.
    const bool french = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_FRENCH;
    EXPECT_STREQ(french ? "Quitter" : "Quit", LoadedString(IDS_QUIT_CAPTION).c_str());
    static Session session; // as long as the program's windows: kept to the end
    auto* main_window = new MainWindow("RYX Client GUI", WS_CAPTION | WS_SYSMENU, &MainWindow::area,
                                       GetModuleHandleA(nullptr), session);
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
    SendMessageA(GetDlgItem(page, IDC_ADVANCED), BM_CLICK, 0, 0);
    const HWND advanced = FindWindowA("AdvancedDialog", nullptr);
    ASSERT_NE(nullptr, advanced);

    const std::vector<HWND> windows = program_windows({window, advanced});
    RECT at_96[2] = {};
    GetWindowRect(window, &at_96[0]);
    GetWindowRect(advanced, &at_96[1]);
    for (const unsigned dpi : {120u, 144u, 192u, 96u}) {
        const HFONT font = reinterpret_cast<HFONT>(SendMessageA(start, WM_GETFONT, 0, 0));
        const HICON old_icon = shown_icon();
        for (int top = 0; top < 2; ++top) {
            // The Advanced window to the right, clear of the Config page's labels.
            RECT suggested = scaled_rect(
                {0, 0, at_96[top].right - at_96[top].left, at_96[top].bottom - at_96[top].top},
                dpi);
            OffsetRect(&suggested, top == 0 ? 50 : 1910 - suggested.right, 40);
            SendMessageA(windows[top], WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        for (const HWND w : windows) {
            EXPECT_TRUE(text_fits(w, dpi)) << "\"" << window_text(w) << "\" at " << dpi << " DPI";
        }
        // Painted anew, every label's text shows on the page once the window is idle again.
        wait_dispatching([] { return true; });
        for (const int label : {IDC_SERVER_LABEL, IDC_USERNAME_LABEL, IDC_PASSWORD_LABEL}) {
            EXPECT_GT(text_pixels(GetDlgItem(page, label)), 20) << label << " at " << dpi;
        }
        // The old font deleted; the icons loaded at their new size, the old ones destroyed.
        EXPECT_EQ(0u, GetObjectType(font)) << dpi;
        EXPECT_TRUE(wait_dispatching([&] { return shown_icon() != old_icon && gone(old_icon); }));
    }

    // A high-contrast scheme, as Windows sets it with visual styles off: the labels of the page
    // and of the status line in the scheme's text colour, on the scheme's background.
    const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    const COLORREF black[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)};
    const COLORREF usual[] = {GetSysColor(elements[0]), GetSysColor(elements[1]),
                              GetSysColor(elements[2]), GetSysColor(elements[3])};
    SendMessageA(advanced, WM_CLOSE, 0, 0);
    ASSERT_TRUE(SetSysColors(4, elements, black));
    wait_dispatching([] { return true; });
    for (const HWND label :
         {GetDlgItem(page, IDC_SERVER_LABEL), GetDlgItem(page, IDC_USERNAME_LABEL),
          GetDlgItem(page, IDC_ANONYMOUS), GetDlgItem(window, IDC_STATUS_LABEL)}) {
        EXPECT_GT(text_pixels(label), 20) << GetDlgCtrlID(label);
    }
    SetSysColors(4, elements, usual);
    wait_dispatching([] { return true; });
}
