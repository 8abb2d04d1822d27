#include "app/main_window.h"

#include <commctrl.h>
#include <utility>

#include "app/loaded_string.h"
#include "app/message_box.h"
#include "app/startup.h"
#include "app/status_icons.h"
#include "log/logging_page.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "service/service_state_display.h"
#include "service/status_monitor.h"
#include "ui/config_page.h"
#include "ui/dpi_scale.h"
#include "ui/window_dpi.h"

namespace {

constexpr int status_icon_size = 16;
// What the user cannot see yet waits until the window is painted and the program idle.
constexpr UINT_PTR finish_start_up_timer = 1;
constexpr int tooltip_display_ms = 10000;
constexpr POINT status_label_at = {20, 460};

// The tab control fills the window less margins; the pages fill the tab control less its
// border and its row of tabs.
constexpr int tab_width = MainWindow::area.right - MainWindow::area.left - 24;
constexpr int tab_height = MainWindow::area.bottom - MainWindow::area.top - 90;
constexpr RECT page_area_at_96 = {1, 25, tab_width - 2, tab_height - 2};

constexpr DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// In creation order: the Tab key visits Start, Stop, then the tab control and its page.
const ControlRow controls[] = {
    {"STATIC", IDC_STATUS_ICON, 0, WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, 165, 453,
     status_icon_size, status_icon_size, 0, 0, 0},
    {"BUTTON", IDC_START, IDS_START, button_style, 554, 460, 73, 23, 0, 0, 0},
    {"BUTTON", IDC_STOP, IDS_STOP, button_style, 471, 460, 73, 23, 0, 0, 0},
    {WC_TABCONTROLA, 0, 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 8, 8, tab_width,
     tab_height, 0, 0, WS_EX_CONTROLPARENT},
};

// Twice a second from the status monitor: only a change is worth a message to the
// user-interface thread, which owns the button.
void set_enabled(HWND control, bool enabled) {
    if ((IsWindowEnabled(control) != FALSE) != enabled) {
        EnableWindow(control, enabled ? TRUE : FALSE);
    }
}

TOOLINFOA status_tool(HWND status_icon, HINSTANCE instance) {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size every common controls version accepts
    tool.hwnd = status_icon;
    tool.uId = 0;
    tool.hinst = instance;
    return tool;
}

} // namespace

MainWindow::MainWindow(const char* title, DWORD style, const RECT* rectangle, HINSTANCE instance)
    : WindowObject(nullptr, title, style, rectangle, instance), controls_(controls),
      dpi_(window_dpi(nullptr)),
      icons_(std::make_unique<StatusIcons>(instance, scale_to_dpi(status_icon_size, dpi_))),
      icon_size_(icons_->size()) {
    // Created hidden: show makes it visible once every child is in place.
    style_ &= ~WS_VISIBLE;
    extended_style_ = WS_EX_CONTEXTHELP | WS_EX_CLIENTEDGE;
    class_name_ = window_class;
}

MainWindow::~MainWindow() = default;

RECT MainWindow::page_area() const {
    return scaled_rect(page_area_at_96, dpi_);
}

bool MainWindow::create() {
    WindowObject::create();

    INITCOMMONCONTROLSEX common_controls = {sizeof common_controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common_controls);

    dpi_ = dpi_after_creation();
    icon_size_ = scale_to_dpi(status_icon_size, dpi_);
    font_ = WindowFont(dpi_);
    controls_.create(window_, instance_, dpi_, font_.get());
    status_icon_ = controls_.get(IDC_STATUS_ICON);
    start_button_ = controls_.get(IDC_START);
    stop_button_ = controls_.get(IDC_STOP);
    EnableWindow(start_button_, FALSE);
    EnableWindow(stop_button_, FALSE);
    tab_control_ = controls_.get(0);
    if (tab_control_ == nullptr) {
        return false;
    }
    const unsigned tab_texts[] = {IDS_TAB_CONFIG, IDS_TAB_LOGGING};
    for (int index = 0; index < 2; ++index) {
        const LoadedString text(tab_texts[index]);
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(text.c_str());
        item.iImage = -1;
        SendMessageA(tab_control_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }

    const RECT pages = page_area();
    config_page_ = std::make_unique<ConfigPage>(instance_, tab_control_, &pages, dpi_, font_.get());
    config_page_->create();
    config_page_->deactivate();
    SendMessageA(tab_control_, TCM_SETCURSEL, 0, 0);
    start_up_pending_ = true;
    return true;
}

void MainWindow::finish_start_up() {
    logging_page(); // made now unless its tab was picked first
    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               instance_, nullptr);
    SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TOOLINFOA tool = status_tool(status_icon_, instance_);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = status_tool_rect();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_, TTM_ACTIVATE, TRUE, 0);
    SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, tooltip_display_ms);

    // Last, so that every handle the monitor reads exists before its thread runs.
    (new StatusMonitor())->start();
}

LoggingPage* MainWindow::logging_page() {
    if (logging_page_ == nullptr) {
        const RECT pages = page_area();
        logging_page_ =
            std::make_unique<LoggingPage>(instance_, tab_control_, &pages, dpi_, font_.get());
        logging_page_->create(); // starts the log follower
        logging_page_->deactivate();
    }
    return logging_page_.get();
}

RECT MainWindow::status_tool_rect() const {
    // The tool covers the icon control, whatever size the DPI gave it.
    RECT icon_area = {};
    GetWindowRect(status_icon_, &icon_area);
    return {0, 0, icon_area.right - icon_area.left, icon_area.bottom - icon_area.top};
}

void MainWindow::apply_dpi(unsigned reported_dpi, const RECT* suggested) {
    dpi_ = sane_dpi(reported_dpi);
    WindowFont font(dpi_);
    if (suggested != nullptr) {
        take_dpi_rect(reported_dpi, suggested);
    }
    if (tab_control_ != nullptr) {
        controls_.lay_out(dpi_, font.get());
        const RECT pages = page_area();
        config_page_->lay_out(pages, dpi_, font.get());
        if (logging_page_ != nullptr) {
            logging_page_->lay_out(pages, dpi_, font.get());
        }
        TOOLINFOA tool = status_tool(status_icon_, instance_);
        tool.rect = status_tool_rect();
        SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
        InvalidateRect(window_, nullptr, TRUE); // the painted label moves and changes font
    }
    font_ = std::move(font); // the old font goes once no control uses it
    icon_size_ = scale_to_dpi(status_icon_size, dpi_);
}

void MainWindow::show_logging_tab() {
    SendMessageA(tab_control_, TCM_SETCURSEL, 1, 0);
    // A selection made by message sends no change notifications: switch the pages here.
    config_page_->deactivate();
    logging_page_->activate(); // the follower that calls this belongs to the page
}

void MainWindow::show_service_state(DWORD state) {
    const ServiceStateDisplay& row = ServiceStateDisplay::of(state);
    // The buttons are set on every report: a refused Start or Stop greyed them both.
    set_enabled(start_button_, row.start_enabled);
    set_enabled(stop_button_, row.stop_enabled);
    // Icon and text only when they change: setting the icon repaints it, twice a second.
    const int icon_size = icon_size_;
    const bool resized = icons_->size() != icon_size;
    if (&row == shown_state_ && !resized) {
        return;
    }
    std::unique_ptr<StatusIcons> previous;
    if (resized) {
        previous = std::exchange(icons_, std::make_unique<StatusIcons>(app_instance, icon_size));
    }
    // The control lets go of the previous icons before they are destroyed.
    SendMessageA(status_icon_, STM_SETICON, reinterpret_cast<WPARAM>(icons_->of(row.icon)), 0);
    if (&row == shown_state_) {
        return;
    }
    shown_state_ = &row;
    const LoadedString text(row.text_id);
    TOOLINFOA tool = status_tool(status_icon_, app_instance);
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::run_service_command(bool (ServiceControl::*command)()) {
    // Connected on first use: nobody can press Start or Stop before the first status report.
    if (service_ == nullptr) {
        service_ = std::make_unique<ServiceControl>("ryx");
    }
    // The service may have been installed, or removed and installed again, since this
    // connection was opened: a refused command gets one more try on a fresh connection. Refused
    // again, the user is told why.
    if (!(service_.get()->*command)()) {
        service_->reopen();
        if (!(service_.get()->*command)()) {
            const unsigned text =
                command == &ServiceControl::start ? IDS_ERR_START_FAILED : IDS_ERR_STOP_FAILED;
            show_message_box(window_, text, service_->last_error(), MB_OK | MB_ICONERROR);
        }
    }
}

TabDialog* MainWindow::page_at(LRESULT tab_index) {
    if (tab_index == 0) {
        return config_page_.get();
    }
    if (tab_index == 1) {
        return logging_page();
    }
    return nullptr;
}

void MainWindow::paint(HWND window) {
    PAINTSTRUCT paint = {};
    const HDC context = BeginPaint(window, &paint);
    SetBkMode(context, TRANSPARENT);
    // In the controls' font, so that the status line reads as one.
    const HGDIOBJ previous_font = SelectObject(context, font_.get());
    const LoadedString text(IDS_SERVICE_STATUS_LABEL);
    TextOutA(context, scale_to_dpi(status_label_at.x, dpi_), scale_to_dpi(status_label_at.y, dpi_),
             text.c_str(), lstrlenA(text.c_str()));
    SelectObject(context, previous_font);
    EndPaint(window, &paint);
}

LRESULT MainWindow::confirm_close(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const LoadedString question(IDS_CONFIRM_QUIT);
    const LoadedString caption(IDS_QUIT_CAPTION);
    if (MessageBoxA(window, question.c_str(), caption.c_str(), MB_YESNO | MB_DEFBUTTON2) == IDYES) {
        return DefWindowProcA(window, message, wparam, lparam); // destroys the window
    }
    return 0;
}

LRESULT MainWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        paint(window);
        if (start_up_pending_) {
            SetTimer(window, finish_start_up_timer, 0, nullptr);
        }
        return 0;
    case WM_TIMER:
        if (wparam != finish_start_up_timer) {
            break;
        }
        KillTimer(window, finish_start_up_timer);
        if (start_up_pending_) {
            start_up_pending_ = false;
            finish_start_up();
        }
        return 0;
    case WM_CLOSE:
        return confirm_close(window, message, wparam, lparam);
    case WM_DPICHANGED:
        apply_dpi(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    case config_warning_message:
        show_message_box(window, IDS_WARN_CONFIG_UNREADABLE, MB_OK | MB_ICONWARNING);
        return 0;
    case WM_SHOWWINDOW:
        if (wparam == 0) {
            break;
        }
        if (TabDialog* page = page_at(SendMessageA(tab_control_, TCM_GETCURSEL, 0, 0))) {
            page->activate();
        }
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header == nullptr || header->hwndFrom != tab_control_) {
            return 0;
        }
        if (header->code != TCN_SELCHANGING && header->code != TCN_SELCHANGE) {
            break;
        }
        if (TabDialog* page = page_at(SendMessageA(tab_control_, TCM_GETCURSEL, 0, 0))) {
            if (header->code == TCN_SELCHANGING) {
                page->deactivate();
            } else {
                page->activate();
            }
        }
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED &&
            (LOWORD(wparam) == IDC_START || LOWORD(wparam) == IDC_STOP)) {
            // Both stay disabled until the next status report sets them from the state.
            EnableWindow(start_button_, FALSE);
            EnableWindow(stop_button_, FALSE);
            run_service_command(LOWORD(wparam) == IDC_START ? &ServiceControl::start
                                                            : &ServiceControl::stop);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
