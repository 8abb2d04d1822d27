#include "app/main_window.h"

#include <commctrl.h>
#include <string>
#include <utility>
#include <vector>

#include "app/tray_window.h"
#include "base/background_task.h"
#include "base/elevated_run.h"
#include "base/loaded_string.h"
#include "base/message_box.h"
#include "base/private_message.h"
#include "log/log_follower.h"
#include "log/log_mailbox.h"
#include "log/logging_page.h"
#include "res/resource.h"
#include "service/service_state_display.h"
#include "service/status_monitor.h"
#include "ui/accessible_names.h"
#include "ui/child_controls.h"
#include "ui/config_page.h"
#include "ui/dpi_scale.h"
#include "ui/status_icons.h"
#include "ui/window_dpi.h"

namespace {

constexpr int status_icon_size = 16;
// What the user cannot see yet waits until the window is painted and the program idle.
constexpr UINT_PTR finish_start_up_timer = 1;
constexpr int tooltip_display_ms = 10000;
constexpr int config_tab = 0;
constexpr int logging_tab = 1;

// The tab control fills the window less margins; the pages fill the tab control less its
// border and its row of tabs.
constexpr int tab_width = MainWindow::area.right - MainWindow::area.left - 24;
constexpr int tab_height = MainWindow::area.bottom - MainWindow::area.top - 90;
constexpr RECT page_area_at_96 = {1, 25, tab_width - 2, tab_height - 2};

constexpr DWORD button_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD label_style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX;

// In reading order, which is the Tab key's: the tab control with its page, then the status
// line, Stop and Start. The state in words stands beside its icon, under one label.
const ControlRow controls[] = {
    {WC_TABCONTROLA, 0, 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 8, 8, tab_width,
     tab_height, 0, 0, WS_EX_CONTROLPARENT},
    {"STATIC", IDC_STATUS_LABEL, IDS_SERVICE_STATUS_LABEL, label_style, 20, 460, 142, 17, 0, 0, 0},
    {"STATIC", IDC_STATUS_ICON, 0, WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, 165, 453,
     status_icon_size, status_icon_size, 0, 0, 0},
    {"STATIC", IDC_STATUS_TEXT, 0, label_style, 187, 460, 270, 17, 0, 0, 0},
    {"BUTTON", IDC_STOP, IDS_STOP, button_style, 471, 460, 73, 23, 0, 0, 0},
    {"BUTTON", IDC_START, IDS_START, button_style, 554, 460, 73, 23, 0, 0, 0},
};

TOOLINFOA status_tool(HWND status_icon, HINSTANCE instance) {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE; // the size every common controls version accepts
    tool.hwnd = status_icon;
    tool.uId = 0;
    tool.hinst = instance;
    return tool;
}

// A new colour scheme reaches the common controls only through their parents.
BOOL CALLBACK tell_colours_changed(HWND control, LPARAM) {
    SendMessageA(control, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

bool changes_the_look(WPARAM setting, LPARAM area) {
    const auto* name = reinterpret_cast<const char*>(area);
    return setting == SPI_SETNONCLIENTMETRICS || setting == SPI_SETICONTITLELOGFONT ||
           setting == SPI_SETHIGHCONTRAST ||
           (name != nullptr && lstrcmpiA(name, "WindowMetrics") == 0);
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
    status_text_ = controls_.get(IDC_STATUS_TEXT);
    start_button_ = controls_.get(IDC_START);
    stop_button_ = controls_.get(IDC_STOP);
    EnableWindow(start_button_, FALSE);
    EnableWindow(stop_button_, FALSE);
    tab_control_ = controls_.get(0);
    if (tab_control_ == nullptr) {
        return false;
    }
    insert_tabs();
    const RECT pages = page_area();
    config_page_ =
        std::make_unique<ConfigPage>(instance_, tab_control_, &pages, dpi_, font_.get(), session_);
    config_page_->create();
    config_page_->deactivate();
    SendMessageA(tab_control_, TCM_SETCURSEL, config_tab, 0);
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

void MainWindow::insert_tabs() {
    const unsigned tab_texts[] = {IDS_TAB_CONFIG, IDS_TAB_LOGGING};
    for (int index = 0; index < 2; ++index) {
        const LoadedString text(tab_texts[index]);
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(text.c_str());
        item.iImage = -1;
        SendMessageA(tab_control_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
}

void MainWindow::finish_start_up() {
    // Run elevated, the window still hears the next start's question whether it answers; the
    // shell's own message the notification area's window lets through itself.
    ChangeWindowMessageFilterEx(window_, WM_NULL, MSGFLT_ALLOW, nullptr);
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

    config_page_->decide_write_rights();
    // Workers live as long as the process; they only post to this window.
    status_monitor_ = new StatusMonitor(window_);
    status_monitor_->start();
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

void MainWindow::apply_look(unsigned reported_dpi, const RECT* suggested) {
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
    }
    font_ = std::move(font); // the old font goes once no control uses it
    // The control lets go of the old icons before they are destroyed.
    std::unique_ptr<StatusIcons> old_icons = std::exchange(
        icons_, std::make_unique<StatusIcons>(instance_, scale_to_dpi(status_icon_size, dpi_)));
    update_status_icon();
    redraw_whole(window_);
}

TabDialog* MainWindow::page_at(LRESULT tab_index) {
    if (tab_index == config_tab) {
        return config_page_.get();
    }
    if (tab_index == logging_tab) {
        return logging_page();
    }
    return nullptr;
}

TabDialog* MainWindow::current_page() {
    return page_at(SendMessageA(tab_control_, TCM_GETCURSEL, 0, 0));
}

void MainWindow::select_page(int tab_index) {
    TabDialog* const shown = current_page();
    TabDialog* const wanted = page_at(tab_index);
    if (wanted == nullptr || wanted == shown) {
        return;
    }
    // A selection made by message sends no change notifications: the pages switch here.
    if (shown != nullptr) {
        shown->deactivate();
    }
    SendMessageA(tab_control_, TCM_SETCURSEL, tab_index, 0);
    wanted->activate();
}

void MainWindow::show_logging_tab() {
    select_page(logging_tab);
}

HWND MainWindow::first_page_control() {
    TabDialog* const page = current_page();
    const HWND first = page != nullptr ? page->first_control() : nullptr;
    return first != nullptr ? first : tab_control_;
}

HWND MainWindow::next_tab_stop(HWND from, bool backwards) {
    std::vector<HWND> stops = {tab_control_};
    if (TabDialog* page = current_page()) {
        page->add_tab_stops(stops);
    }
    stops.push_back(stop_button_);
    stops.push_back(start_button_);
    std::vector<HWND> open;
    for (const HWND stop : stops) {
        if (can_take_focus(stop)) {
            open.push_back(stop);
        }
    }
    if (open.empty()) {
        return nullptr;
    }
    // The control that holds the focus, or the one it lies within.
    std::size_t at = open.size();
    for (HWND window = from; window != nullptr && window != window_ && at == open.size();
         window = GetParent(window)) {
        for (std::size_t index = 0; index < open.size(); ++index) {
            at = open[index] == window ? index : at;
        }
    }
    if (at == open.size()) {
        return backwards ? open.back() : open.front();
    }
    return open[(at + (backwards ? open.size() - 1 : 1)) % open.size()];
}

bool MainWindow::handle_navigation_key(const MSG& message) {
    if (message.message != WM_KEYDOWN || !IsWindowEnabled(window_) || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    // The log's own keys (find, save) while its page shows.
    if (logging_page_ != nullptr && current_page() == logging_page_.get() &&
        logging_page_->handle_key(message)) {
        return true;
    }
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const WPARAM key = message.wParam;
    if (control && (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)) {
        const bool backwards = key == VK_PRIOR || (key == VK_TAB && shift);
        const auto shown = static_cast<int>(SendMessageA(tab_control_, TCM_GETCURSEL, 0, 0));
        const auto count = static_cast<int>(SendMessageA(tab_control_, TCM_GETITEMCOUNT, 0, 0));
        select_page((shown + (backwards ? count - 1 : 1)) % count);
        move_dialog_focus(window_, reinterpret_cast<WPARAM>(first_page_control()), TRUE);
        return true;
    }
    if (key == VK_TAB && !control) {
        if (const HWND next = next_tab_stop(GetFocus(), shift)) {
            move_dialog_focus(window_, reinterpret_cast<WPARAM>(next), TRUE);
        }
        return true;
    }
    return false;
}

void MainWindow::update_status_icon() {
    if (shown_state_ != nullptr) {
        SendMessageA(status_icon_, STM_SETICON,
                     reinterpret_cast<WPARAM>(icons_->of(shown_state_->icon)), 0);
    }
}

void MainWindow::set_button_enabled(HWND button, bool enabled) {
    if ((IsWindowEnabled(button) != FALSE) == enabled) {
        return; // twice a second from the status monitor: only a change is worth a repaint
    }
    if (!enabled && GetFocus() == button) {
        // To the other button when it can take it, else to the tab strip.
        const HWND other = button == start_button_ ? stop_button_ : start_button_;
        SetFocus(IsWindowEnabled(other) ? other : tab_control_);
        focus_after_command_ = other;
    }
    EnableWindow(button, enabled ? TRUE : FALSE);
    if (enabled && button == focus_after_command_) {
        // The focus waited on the tab strip for this button; elsewhere the user moved it on.
        if (GetFocus() == tab_control_) {
            SetFocus(button);
        }
        focus_after_command_ = nullptr;
    }
}

void MainWindow::show_service_state(DWORD state) {
    if (tray_ != nullptr) {
        tray_->show_service_state(state);
    }
    const ServiceStateDisplay& row = ServiceStateDisplay::of(state);
    const bool changed = &row != shown_state_;
    shown_state_ = &row;
    enable_commands();
    if (!changed) {
        return;
    }
    update_status_icon();
    const LoadedString word(row.word_id);
    SetWindowTextA(status_text_, word.c_str());
    if (names_ == nullptr) {
        names_ = std::make_unique<AccessibleNames>(); // after the first paint: costs no start-up
    }
    names_->set(status_icon_, word.c_str());
    const LoadedString text(row.text_id);
    TOOLINFOA tool = status_tool(status_icon_, instance_);
    tool.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::show_log_rows() {
    LogBatch batch = log_mailbox_->take();
    if (logging_page_ != nullptr) {
        logging_page_->add_rows(std::move(batch.rows));
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

void MainWindow::start_service_command(ServiceCommand command) {
    last_command_ = command;
    command_running_ = true;
    // Both stay disabled until a report after the command sets them from the state.
    set_button_enabled(start_button_, false);
    set_button_enabled(stop_button_, false);
    const bool start = command == ServiceCommand::start;
    const std::string elevated_arguments =
        (start ? start_elevated_ : stop_elevated_)
            ? action_command_line(start ? ProgramAction::start : ProgramAction::stop)
            : std::string();
    const HWND window = window_;
    command_running_ = run_in_background([command, elevated_arguments, window] {
        const DWORD outcome = elevated_arguments.empty()
                                  ? run_service_command("ryx", command)
                                  : run_elevated(elevated_arguments.c_str(), window);
        // A window gone meanwhile gets nothing.
        post_private_message(window, private_message::service_command_done, outcome);
    });
    if (!command_running_) {
        finish_service_command(GetLastError());
    }
}

void MainWindow::enable_commands() {
    // Never while a command runs, which one press is enough for.
    const bool idle = shown_state_ != nullptr && !command_running_;
    set_button_enabled(start_button_, idle && shown_state_->start_enabled);
    set_button_enabled(stop_button_, idle && shown_state_->stop_enabled);
}

void MainWindow::finish_service_command(DWORD error) {
    command_running_ = false;
    // The buttons come back with the state as it is after the command, even when it did not
    // change (a refused command), which the monitor otherwise does not report.
    if (status_monitor_ != nullptr) {
        status_monitor_->report_next();
    }
    // Declined at the consent prompt, which the user saw: nothing more to tell.
    char text[LoadedString::capacity * 4];
    const ProgramAction action =
        last_command_ == ServiceCommand::start ? ProgramAction::start : ProgramAction::stop;
    if (elevated_failure_text(action, error, text, sizeof text)) {
        MessageBoxA(window_, text, nullptr, MB_OK | MB_ICONERROR);
    }
}

void MainWindow::show_rights(WPARAM needs_elevation) {
    start_elevated_ = (needs_elevation & private_message::start_needs_elevation) != 0;
    stop_elevated_ = (needs_elevation & private_message::stop_needs_elevation) != 0;
    SendMessageA(start_button_, BCM_SETSHIELD, 0, start_elevated_ ? TRUE : FALSE);
    SendMessageA(stop_button_, BCM_SETSHIELD, 0, stop_elevated_ ? TRUE : FALSE);
    // The service (re)installed: the configuration's folder may be another's now too.
    config_page_->decide_write_rights();
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
    // What the page shows counts as typed, Apply or not.
    config_page_->read_controls();
    if (session_.working_record != session_.file_record) {
        const LoadedString question(IDS_CONFIRM_APPLY_BEFORE_QUIT);
        const LoadedString caption(IDS_APP_TITLE);
        const int answer = MessageBoxA(window, question.c_str(), caption.c_str(), MB_YESNOCANCEL);
        const ApplyOutcome applied =
            answer == IDYES ? config_page_->apply() : ApplyOutcome::written;
        // An elevated run still writing: the window goes once it has written.
        quit_after_apply_ = applied == ApplyOutcome::pending;
        if (answer == IDCANCEL || applied != ApplyOutcome::written) {
            return 0;
        }
        return DefWindowProcA(window, WM_CLOSE, wparam, lparam); // destroys the window
    }
    const LoadedString question(IDS_CONFIRM_QUIT);
    const LoadedString caption(IDS_QUIT_CAPTION);
    if (MessageBoxA(window, question.c_str(), caption.c_str(), MB_YESNO | MB_DEFBUTTON2) == IDYES) {
        return DefWindowProcA(window, WM_CLOSE, wparam, lparam);
    }
    return 0;
}

LRESULT MainWindow::on_show_window(HWND window, WPARAM wparam, LPARAM lparam) {
    if (wparam == 0) {
        return DefWindowProcA(window, WM_SHOWWINDOW, wparam, lparam);
    }
    if (TabDialog* page = current_page()) {
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
    if (TabDialog* page = current_page()) {
        header->code == TCN_SELCHANGING ? page->deactivate() : page->activate();
    }
    return 0;
}

LRESULT MainWindow::on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    const int id = LOWORD(wparam);
    const auto control = reinterpret_cast<HWND>(lparam);
    if (control != nullptr && GetParent(control) != window && IsChild(window, control)) {
        // A page's button pressed through the dialog keys (Enter, an access key): the page's.
        return SendMessageA(GetParent(control), WM_COMMAND, wparam, lparam);
    }
    if (HIWORD(wparam) != BN_CLICKED || (id != IDC_START && id != IDC_STOP) || command_running_) {
        return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
    }
    if (tray_ != nullptr) {
        tray_->note_own_command(); // no notification for what the user asked for
    }
    start_service_command(id == IDC_START ? ServiceCommand::start : ServiceCommand::stop);
    return 0;
}

void MainWindow::on_look_change(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DPICHANGED) {
        apply_look(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return;
    }
    if (message == WM_SETTINGCHANGE && !changes_the_look(wparam, lparam)) {
        return;
    }
    if (message == WM_SYSCOLORCHANGE) {
        EnumChildWindows(window, tell_colours_changed, 0);
    }
    apply_look(dpi_, nullptr);
}

LRESULT MainWindow::on_private_message(UINT message, WPARAM wparam) {
    switch (message) {
    case private_message::service_state:
        show_service_state(static_cast<DWORD>(wparam));
        break;
    case private_message::log_rows:
        show_log_rows();
        break;
    case private_message::config_unreadable:
        show_message_box(window_, IDS_WARN_CONFIG_UNREADABLE, MB_OK | MB_ICONWARNING);
        break;
    case private_message::service_command_done:
        finish_service_command(static_cast<DWORD>(wparam));
        break;
    case private_message::log_save_progress:
        if (logging_page_ != nullptr) {
            logging_page_->show_save_progress(static_cast<int>(wparam));
        }
        break;
    case private_message::log_save_done:
        if (logging_page_ != nullptr) {
            logging_page_->finish_save(static_cast<DWORD>(wparam));
        }
        break;
    case private_message::service_rights:
        show_rights(wparam);
        break;
    case private_message::config_write_done:
        if (config_page_->finish_elevated_apply(static_cast<DWORD>(wparam)) && quit_after_apply_) {
            DestroyWindow(window_);
        }
        quit_after_apply_ = false;
        break;
    default:
        break;
    }
    return 0;
}

LRESULT MainWindow::on_paint(HWND window, WPARAM wparam, LPARAM lparam) {
    // What the user cannot see yet comes once the window is painted and the program idle.
    if (start_up_pending_) {
        SetTimer(window, finish_start_up_timer, 0, nullptr);
    }
    return DefWindowProcA(window, WM_PAINT, wparam, lparam);
}

LRESULT MainWindow::on_size(HWND window, WPARAM wparam, LPARAM lparam) {
    // Minimised into the notification area: no taskbar button, the icon brings it back.
    if (wparam == SIZE_MINIMIZED && tray_ != nullptr && tray_->takes_minimised_window()) {
        ShowWindow(window, SW_HIDE);
    }
    return DefWindowProcA(window, WM_SIZE, wparam, lparam);
}

LRESULT MainWindow::on_dialog_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // What the dialog keys ask of the window as of a dialog: Enter's button, and the focus
    // moved on from a label whose access key was pressed.
    if (message == DM_GETDEFID) {
        return default_button_answer(
            default_button(window, current_page() == config_page_.get() ? IDC_APPLY : 0));
    }
    move_dialog_focus(window, wparam, lparam);
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
        return on_paint(window, wparam, lparam);
    case WM_TIMER:
        return on_timer(window, wparam, lparam);
    case WM_CLOSE:
        return on_close(window, wparam, lparam);
    case WM_ACTIVATE:
        return focus_.on_activate(window, wparam, first_page_control());
    case DM_GETDEFID:
    case WM_NEXTDLGCTL:
        return on_dialog_message(window, message, wparam, lparam);
    case WM_DPICHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
    case WM_SETTINGCHANGE:
        on_look_change(window, message, wparam, lparam);
        return 0;
    case WM_SHOWWINDOW:
        return on_show_window(window, wparam, lparam);
    case WM_SIZE:
        return on_size(window, wparam, lparam);
    case WM_NOTIFY:
        return on_notify(window, wparam, lparam);
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
