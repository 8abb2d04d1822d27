#include "app/main_window.h"

#include <commctrl.h>

#include "app/loaded_string.h"
#include "app/message_box.h"
#include "app/startup.h"
#include "log/logging_page.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "service/service_state_display.h"
#include "service/status_monitor.h"
#include "ui/child_controls.h"
#include "ui/config_page.h"

namespace {

constexpr int status_icon_size = 16;
constexpr int tooltip_display_ms = 10000;

// The status line shows its icons at 16 x 16: loaded at that size, the icon control keeps
// its size instead of growing to the icon's.
HICON load_status_icon(HINSTANCE instance, const char* name) {
    return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, status_icon_size,
                                         status_icon_size, instance == nullptr ? LR_SHARED : 0));
}

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
    : WindowObject(nullptr, title, style, rectangle, instance), tab_width_(width() - 24),
      tab_height_(height() - 90),
      running_icon_(load_status_icon(instance, MAKEINTRESOURCEA(IDI_STATUS_RUNNING))),
      pending_icon_(load_status_icon(instance, MAKEINTRESOURCEA(IDI_STATUS_PENDING))),
      stopped_icon_(load_status_icon(instance, MAKEINTRESOURCEA(IDI_STATUS_STOPPED))),
      warning_icon_(load_status_icon(nullptr, IDI_EXCLAMATION)) {
    // Created hidden: show makes it visible once every child is in place.
    style_ &= ~WS_VISIBLE;
    extended_style_ = WS_EX_CONTEXTHELP | WS_EX_CLIENTEDGE;
    class_name_ = "DIZURO";
}

MainWindow::~MainWindow() = default;

bool MainWindow::create() {
    WindowObject::create();

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    service_ = std::make_unique<ServiceControl>("ryx");

    status_icon_ = create_child_control(window_, instance_, "STATIC", IDC_STATUS_ICON, 0,
                                        WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, 165, 453,
                                        status_icon_size, status_icon_size);
    const DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    start_button_ = create_child_control(window_, instance_, "BUTTON", IDC_START, IDS_START,
                                         button_style, 554, 460, 73, 23);
    stop_button_ = create_child_control(window_, instance_, "BUTTON", IDC_STOP, IDS_STOP,
                                        button_style, 471, 460, 73, 23);
    EnableWindow(start_button_, FALSE);
    EnableWindow(stop_button_, FALSE);

    tab_control_ =
        CreateWindowExA(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 8, 8, tab_width_,
                        tab_height_, window_, nullptr, app_instance, nullptr);
    if (tab_control_ == nullptr) {
        return false;
    }
    const unsigned tab_texts[] = {IDS_TAB_CONFIG, IDS_TAB_LOGGING};
    for (int index = 0; index < 2; ++index) {
        LoadedString text(tab_texts[index]);
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(text.c_str());
        item.iImage = -1;
        SendMessageA(tab_control_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }

    const RECT page_area = {1, 25, tab_width_ - 2, tab_height_ - 2};
    config_page_ = std::make_unique<ConfigPage>(instance_, tab_control_, &page_area);
    config_page_->create();
    config_page_->deactivate();
    logging_page_ = std::make_unique<LoggingPage>(instance_, tab_control_, &page_area);
    logging_page_->create();
    logging_page_->deactivate();
    SendMessageA(tab_control_, TCM_SETCURSEL, 0, 0);

    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                               instance_, nullptr);
    SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT icon_area = {};
    GetWindowRect(status_icon_, &icon_area);
    TOOLINFOA tool = status_tool(status_icon_, instance_);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = {0, 0, icon_area.right - icon_area.left, icon_area.bottom - icon_area.top};
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_, TTM_ACTIVATE, TRUE, 0);
    SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, tooltip_display_ms);

    // Last, so that every handle the monitor reads exists before its thread runs.
    (new StatusMonitor())->start();
    return true;
}

void MainWindow::show_logging_tab() {
    SendMessageA(tab_control_, TCM_SETCURSEL, 1, 0);
    // A selection made by message sends no change notifications: switch the pages here.
    config_page_->deactivate();
    logging_page_->activate();
}

void MainWindow::show_service_state(DWORD state) {
    const ServiceStateDisplay& row = ServiceStateDisplay::of(state);
    // The buttons are set on every report: a refused Start or Stop greyed them both.
    set_enabled(start_button_, row.start_enabled);
    set_enabled(stop_button_, row.stop_enabled);
    // Icon and text only when they change: setting the icon repaints it, twice a second.
    if (&row == shown_state_) {
        return;
    }
    shown_state_ = &row;
    const HICON icons[] = {warning_icon_, stopped_icon_, pending_icon_, running_icon_};
    SendMessageA(status_icon_, STM_SETICON,
                 reinterpret_cast<WPARAM>(icons[static_cast<int>(row.icon)]), 0);
    const LoadedString text(row.text_id);
    TOOLINFOA tool = status_tool(status_icon_, app_instance);
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::run_service_command(bool (ServiceControl::*command)()) {
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

TabDialog* MainWindow::page_at(LRESULT tab_index) const {
    if (tab_index == 0) {
        return config_page_.get();
    }
    if (tab_index == 1) {
        return logging_page_.get();
    }
    return nullptr;
}

void MainWindow::paint(HWND window) {
    PAINTSTRUCT paint = {};
    const HDC context = BeginPaint(window, &paint);
    SetBkMode(context, TRANSPARENT);
    const LoadedString text(IDS_SERVICE_STATUS_LABEL);
    TextOutA(context, 20, 460, text.c_str(), lstrlenA(text.c_str()));
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
        return 0;
    case WM_CLOSE:
        return confirm_close(window, message, wparam, lparam);
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
