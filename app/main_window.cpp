#include "app/main_window.h"

#include <commctrl.h>
#include <utility>

#include "app/tray_window.h"
#include "base/loaded_string.h"
#include "base/message_box.h"
#include "base/painting.h"
#include "base/private_message.h"
#include "base/selected_object.h"
#include "log/log_follower.h"
#include "log/log_mailbox.h"
#include "log/logging_page.h"
#include "res/resource.h"
#include "service/service_control.h"
#include "service/service_state_display.h"
#include "service/status_monitor.h"
#include "ui/config_page.h"
#include "ui/dpi_scale.h"
#include "ui/status_icons.h"
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

// Twice a second from the status monitor: only a change is worth a repaint of the button.
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

MainWindow::MainWindow(const char* title, DWORD style, const RECT* rectangle, HINSTANCE instance,
                       Session& session, bool tray_start)
    : WindowObject(nullptr, title, style, rectangle, instance), session_(session),
      controls_(controls), dpi_(window_dpi(nullptr)), log_mailbox_(std::make_shared<LogMailbox>()),
      tray_start_(tray_start) {
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
    if (!WindowObject::create()) {
        return false;
    }
    INITCOMMONCONTROLSEX common_controls = {sizeof common_controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common_controls);

    dpi_ = dpi_after_creation();
    font_ = WindowFont(dpi_);
    icons_ = std::make_unique<StatusIcons>(instance_, scale_to_dpi(status_icon_size, dpi_));
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
    config_page_ =
        std::make_unique<ConfigPage>(instance_, tab_control_, &pages, dpi_, font_.get(), session_);
    config_page_->create();
    config_page_->deactivate();
    SendMessageA(tab_control_, TCM_SETCURSEL, 0, 0);
    // Told over the painted window, whose page shows what Apply would write instead.
    if (session_.config_file_unreadable) {
        post_private_message(window_, private_message::config_unreadable);
    }
    start_up_pending_ = true;
    if (tray_start_) {
        SetTimer(window_, finish_start_up_timer, 0, nullptr); // no paint comes while hidden
    }
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
    tray_ = std::make_unique<TrayWindow>(instance_, *this, session_.log_file_path);
    tray_->create();

    // Workers live as long as the process; they only post to this window.
    (new StatusMonitor(window_))->start();
}

LoggingPage* MainWindow::logging_page() {
    if (logging_page_ == nullptr) {
        const RECT pages = page_area();
        logging_page_ = std::make_unique<LoggingPage>(instance_, tab_control_, &pages, dpi_,
                                                      font_.get(), session_.log_file_path);
        if (logging_page_->create()) {
            (new LogFollower(session_.log_file_path, log_mailbox_, window_))->start();
        }
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
    // The control lets go of the old icons before they are destroyed.
    std::unique_ptr<StatusIcons> old_icons = std::exchange(
        icons_, std::make_unique<StatusIcons>(instance_, scale_to_dpi(status_icon_size, dpi_)));
    update_status_icon();
}

void MainWindow::show_logging_tab() {
    SendMessageA(tab_control_, TCM_SETCURSEL, 1, 0);
    // A selection made by message sends no change notifications: switch the pages here.
    config_page_->deactivate();
    logging_page()->activate();
}

void MainWindow::update_status_icon() {
    if (shown_state_ != nullptr) {
        SendMessageA(status_icon_, STM_SETICON,
                     reinterpret_cast<WPARAM>(icons_->of(shown_state_->icon)), 0);
    }
}

void MainWindow::show_service_state(DWORD state) {
    if (tray_ != nullptr) {
        tray_->show_service_state(state);
    }
    const ServiceStateDisplay& row = ServiceStateDisplay::of(state);
    // The buttons are set on every report: a refused Start or Stop greyed them both.
    set_enabled(start_button_, row.start_enabled);
    set_enabled(stop_button_, row.stop_enabled);
    // Icon and text only when they change: setting the icon repaints it, twice a second.
    if (&row == shown_state_) {
        return;
    }
    shown_state_ = &row;
    update_status_icon();
    const LoadedString text(row.text_id);
    TOOLINFOA tool = status_tool(status_icon_, instance_);
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::show_log_rows() {
    const LogBatch batch = log_mailbox_->take();
    if (!batch.rows.empty() && logging_page_ != nullptr) {
        logging_page_->add_rows(batch.rows);
        // Drawn by a message of its own: the window answers others in between.
        post_private_message(window_, private_message::log_rows_added);
    }
    pending_warnings_ += batch.warnings;
    show_stop_warnings();
}

void MainWindow::show_stop_warnings() {
    // Called again from within the box (its loop dispatches this window's messages): the
    // warnings that come meanwhile wait for the box in front to be answered.
    if (warning_shown_) {
        return;
    }
    warning_shown_ = true;
    while (pending_warnings_ > 0) {
        --pending_warnings_;
        show_logging_tab();
        show_message_box(window_, IDS_ERR_CLIENT_QUIT, MB_ICONEXCLAMATION | MB_OK);
    }
    warning_shown_ = false;
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

void MainWindow::on_paint(HWND window) {
    const Painting painting(window);
    SetBkMode(painting.context(), TRANSPARENT);
    // In the controls' font, so that the status line reads as one.
    const SelectedObject font(painting.context(), font_.get());
    const LoadedString text(IDS_SERVICE_STATUS_LABEL);
    TextOutA(painting.context(), scale_to_dpi(status_label_at.x, dpi_),
             scale_to_dpi(status_label_at.y, dpi_), text.c_str(), lstrlenA(text.c_str()));
}

LRESULT MainWindow::on_timer(HWND window, WPARAM wparam, LPARAM lparam) {
    if (wparam != finish_start_up_timer) {
        return DefWindowProcA(window, WM_TIMER, wparam, lparam);
    }
    KillTimer(window, finish_start_up_timer);
    if (start_up_pending_) {
        start_up_pending_ = false;
        finish_start_up();
    }
    return 0;
}

LRESULT MainWindow::on_close(HWND window, WPARAM wparam, LPARAM lparam) {
    const LoadedString question(IDS_CONFIRM_QUIT);
    const LoadedString caption(IDS_QUIT_CAPTION);
    if (MessageBoxA(window, question.c_str(), caption.c_str(), MB_YESNO | MB_DEFBUTTON2) == IDYES) {
        return DefWindowProcA(window, WM_CLOSE, wparam, lparam); // destroys the window
    }
    return 0;
}

LRESULT MainWindow::on_show_window(HWND window, WPARAM wparam, LPARAM lparam) {
    if (wparam == 0) {
        return DefWindowProcA(window, WM_SHOWWINDOW, wparam, lparam);
    }
    if (TabDialog* page = page_at(SendMessageA(tab_control_, TCM_GETCURSEL, 0, 0))) {
        page->activate();
    }
    return 0;
}

LRESULT MainWindow::on_notify(HWND window, WPARAM wparam, LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header == nullptr || header->hwndFrom != tab_control_) {
        return 0;
    }
    if (header->code != TCN_SELCHANGING && header->code != TCN_SELCHANGE) {
        return DefWindowProcA(window, WM_NOTIFY, wparam, lparam);
    }
    // Two steps: the page of the old selection goes before the new one comes.
    if (TabDialog* page = page_at(SendMessageA(tab_control_, TCM_GETCURSEL, 0, 0))) {
        header->code == TCN_SELCHANGING ? page->deactivate() : page->activate();
    }
    return 0;
}

LRESULT MainWindow::on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    const int id = LOWORD(wparam);
    if (HIWORD(wparam) != BN_CLICKED || (id != IDC_START && id != IDC_STOP)) {
        return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    }
    if (tray_ != nullptr) {
        tray_->note_own_command(); // no notification for what the user asked for
    }
    // Both stay disabled until the next status report sets them from the state.
    EnableWindow(start_button_, FALSE);
    EnableWindow(stop_button_, FALSE);
    run_service_command(id == IDC_START ? &ServiceControl::start : &ServiceControl::stop);
    return 0;
}

LRESULT MainWindow::on_private_message(UINT message, WPARAM wparam) {
    switch (message) {
    case private_message::service_state:
        show_service_state(static_cast<DWORD>(wparam));
        break;
    case private_message::log_rows:
        show_log_rows();
        break;
    case private_message::log_rows_added:
        if (logging_page_ != nullptr) {
            logging_page_->draw_added_rows();
        }
        break;
    case private_message::config_unreadable:
        show_message_box(window_, IDS_WARN_CONFIG_UNREADABLE, MB_OK | MB_ICONWARNING);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT MainWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= private_message::first && message <= private_message::last) {
        // Made up by another process: nothing to do with this program.
        return carries_private_key(lparam) ? on_private_message(message, wparam) : 0;
    }
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        on_paint(window);
        if (start_up_pending_) {
            SetTimer(window, finish_start_up_timer, 0, nullptr);
        }
        return 0;
    case WM_TIMER:
        return on_timer(window, wparam, lparam);
    case WM_CLOSE:
        return on_close(window, wparam, lparam);
    case WM_DPICHANGED:
        apply_dpi(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_SHOWWINDOW:
        return on_show_window(window, wparam, lparam);
    case WM_SIZE:
        // Minimised into the notification area: no taskbar button, the icon brings it back.
        if (wparam == SIZE_MINIMIZED && tray_ != nullptr && tray_->takes_minimised_window()) {
            ShowWindow(window, SW_HIDE);
        }
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_NOTIFY:
        return on_notify(window, wparam, lparam);
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
