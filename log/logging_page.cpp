#include "log/logging_page.h"

#include <algorithm>
#include <commdlg.h>
#include <cstdio>
#include <shlobj.h>

#include "base/background_task.h"
#include "base/bounded_text.h"
#include "base/loaded_string.h"
#include "base/message_box.h"
#include "base/private_message.h"
#include "base/selected_object.h"
#include "base/system_function.h"
#include "base/window_dc.h"
#include "log/log_copy.h"
#include "log/log_list_actions.h"
#include "log/log_search.h"
#include "res/resource.h"
#include "ui/child_controls.h"
#include "ui/dpi_scale.h"
#include "ui/visual_styles.h"

namespace {

constexpr int date_time_width = 120; // at least, whatever the dates are
// What a cell adds to its text's width, either side, at 96 DPI.
constexpr int cell_margins = 12;
constexpr int icon_room = 20; // the stop line's icon and its gap, in the Date/Time column
constexpr std::size_t tip_capacity = 1024;
constexpr std::size_t find_capacity = 256;
constexpr int find_height = 28; // what the find field takes from the top of the list
// A save is told about only once it takes longer than this.
constexpr ULONGLONG quiet_save_ms = 1000;

// The rows Find selects show while the focus stays in its field.
constexpr DWORD list_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_NOSORTHEADER |
                             LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;

// In reading order, which is the Tab key's. The list is the page's width (619) less 20; the
// find field, hidden until asked for, takes the list's top.
const ControlRow controls[] = {
    {"STATIC", IDC_FIND_LABEL, IDS_FIND_LABEL, WS_CHILD, 10, 12, 75, 17, 0, 0, 0},
    {"EDIT", IDC_FIND_TEXT, 0, WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 90, 8, 240, 23,
     find_capacity - 1, 0, 0},
    {WC_LISTVIEWA, IDC_LOG_LIST, 0, list_style, 10, 10, 599, 358, 0, 0, 0},
    {"STATIC", IDC_LOG_NOTE, 0, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_ENDELLIPSIS, 10, 382, 520,
     17, 0, 0, 0},
    {"BUTTON", IDC_CLEAR, IDS_CLEAR, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 539, 378,
     73, 23, 0, 0, 0},
};

// Widths in the list's font, as LVM_GETSTRINGWIDTH gives them, from one device context for
// many texts: that message takes and frees a context each time, which under Wine costs a
// thousand rows tens of milliseconds.
class ListTextWidths {
public:
    explicit ListTextWidths(HWND list)
        : context_(list),
          font_(context_.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0))) {}

    int of(const std::string& text) const {
        SIZE size = {};
        GetTextExtentPoint32A(context_.get(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    WindowDc context_;
    SelectedObject font_;
};

bool insert_column(HWND list, int subitem, int width, unsigned text_id) {
    const LoadedString text(text_id);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.iSubItem = subitem;
    column.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(list, LVM_INSERTCOLUMNA, subitem, reinterpret_cast<LPARAM>(&column)) >= 0;
}

// "ryxc-YYYYMMDD-HHMM.log" in the user's Documents, as the save dialog proposes it.
void proposed_copy(char* path, std::size_t capacity, char* folder) {
    using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    const auto folder_path = system_function<FolderPathFunction>("shell32.dll", "SHGetFolderPathA");
    if (folder_path == nullptr ||
        FAILED(folder_path(nullptr, CSIDL_PERSONAL, nullptr, 0, folder))) {
        folder[0] = '\0';
    }
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    std::snprintf(path, capacity, "ryxc-%04u%02u%02u-%02u%02u.log", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute);
}

} // namespace

LoggingPage::LoggingPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi,
                         HFONT font, const char* log_file_path)
    : TabDialog(instance, parent, rectangle, ControlTable(controls), dpi, font),
      log_file_path_(log_file_path) {}

HWND LoggingPage::list() const {
    return controls_.get(IDC_LOG_LIST);
}

bool LoggingPage::create() {
    TabDialog::create();
    rows_ = LogList(list());
    make_stop_look();
    // A click anywhere on a row selects it; an entry cut at the column's edge shows whole in
    // a tip.
    SendMessageA(list(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP,
                 LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    // Nothing to tell the user when a column is refused: the tab just stays empty.
    const bool made =
        insert_column(list(), 0, scale_to_dpi(date_time_width, dpi_), IDS_DATE_TIME) &&
        insert_column(list(), 1, 0, IDS_ENTRIES);
    fit_columns();
    return made;
}

void LoggingPage::fit_columns() {
    // The dates whole in the list's font, the header's text too; the entries take the rest
    // of the list's inside, so no scroll bar shows for nothing.
    const int margins = 2 * scale_to_dpi(cell_margins, dpi_);
    // Every date stands after room for the stop line's icon.
    const int icon = scale_to_dpi(icon_room, dpi_);
    const ListTextWidths widths(list());
    int dates = std::max(scale_to_dpi(date_time_width, dpi_),
                         widths.of(LoadedString(IDS_DATE_TIME).c_str()) + margins);
    for (int row = 0; row < rows_.row_count(); ++row) {
        dates = std::max(dates, widths.of(rows_.row(row).date_time) + margins + icon);
    }
    RECT inside = {};
    GetClientRect(list(), &inside);
    SendMessageA(list(), LVM_SETCOLUMNWIDTH, 0, dates);
    SendMessageA(list(), LVM_SETCOLUMNWIDTH, 1,
                 std::max(0, static_cast<int>(inside.right) - dates));
}

void LoggingPage::add_rows(std::vector<LogRow>&& rows) {
    // Only a date wider than the column so far widens it, and only the scroll bar that the
    // rows bring narrows the list's inside.
    const int margins = 2 * scale_to_dpi(cell_margins, dpi_);
    const int shown = static_cast<int>(SendMessageA(list(), LVM_GETCOLUMNWIDTH, 0, 0));
    const int icon = scale_to_dpi(icon_room, dpi_);
    const ListTextWidths widths(list());
    const bool wider = std::any_of(rows.begin(), rows.end(), [&](const LogRow& row) {
        return widths.of(row.date_time) + margins + icon > shown;
    });
    RECT before = {}, after = {};
    GetClientRect(list(), &before);
    rows_.add_rows(std::move(rows));
    GetClientRect(list(), &after);
    if (wider || before.right != after.right) {
        fit_columns();
    }
}

void LoggingPage::lay_out(const RECT& rectangle, unsigned dpi, HFONT font) {
    TabDialog::lay_out(rectangle, dpi, font);
    make_stop_look();
    place_list();
}

void LoggingPage::make_stop_look() {
    LOGFONTA bold = {};
    GetObjectA(font_, sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    bold_font_.reset(CreateFontIndirectA(&bold));
    const int size = scale_to_dpi(16, dpi_);
    warning_images_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    const auto warning =
        static_cast<HICON>(LoadImageA(nullptr, IDI_WARNING, IMAGE_ICON, size, size, LR_SHARED));
    ImageList_AddIcon(warning_images_.get(), warning);
    // The list shares the images: they stay the page's, made anew for every DPI.
    SendMessageA(list(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(warning_images_.get()));
}

void LoggingPage::place_list() {
    RECT area = controls_.area(IDC_LOG_LIST, dpi_);
    if (find_shown_) {
        area.top += scale_to_dpi(find_height, dpi_);
    }
    SetWindowPos(list(), nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fit_columns();
}

LRESULT LoggingPage::draw_row(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || row < 0 || row >= rows_.row_count() ||
        !rows_.row(row).stop) {
        return CDRF_DODEFAULT;
    }
    // The stop line at a glance: bold with its icon always, and in the system's colours for
    // notes where a scheme of the user's own does not set every colour.
    SelectObject(draw.nmcd.hdc, bold_font_.get());
    if (!high_contrast_on()) {
        draw.clrText = GetSysColor(COLOR_INFOTEXT);
        draw.clrTextBk = GetSysColor(COLOR_INFOBK);
    }
    return CDRF_NEWFONT;
}

bool LoggingPage::handle_key(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool in_find = message.hwnd == controls_.get(IDC_FIND_TEXT);
    switch (message.wParam) {
    case 'F':
    case 'S':
        if (!control) {
            return false;
        }
        message.wParam == 'F' ? show_find(true) : save_log_as();
        return true;
    case VK_F3:
        find(GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_RETURN:
    case VK_ESCAPE:
        if (!in_find) {
            return false;
        }
        message.wParam == VK_RETURN ? find(false) : show_find(false);
        return true;
    default:
        return false;
    }
}

void LoggingPage::set_note(const char* text) {
    SetWindowTextA(controls_.get(IDC_LOG_NOTE), text);
}

void LoggingPage::show_find(bool shown) {
    find_shown_ = shown;
    for (const int id : {IDC_FIND_LABEL, IDC_FIND_TEXT}) {
        ShowWindow(controls_.get(id), shown ? SW_SHOW : SW_HIDE);
    }
    place_list();
    redraw_whole(parent_); // the tab's own page shows again where the list was
    set_note("");
    move_dialog_focus(GetAncestor(window_, GA_ROOT),
                      reinterpret_cast<WPARAM>(controls_.get(shown ? IDC_FIND_TEXT : IDC_LOG_LIST)),
                      TRUE);
}

void LoggingPage::find(bool backwards) {
    char text[find_capacity];
    read_edit(controls_.get(IDC_FIND_TEXT), text, sizeof text, find_capacity - 1);
    if (text[0] == '\0') {
        show_find(true); // nothing to look for yet: where to type it
        return;
    }
    const int from = ListView_GetNextItem(list(), -1, LVNI_FOCUSED);
    const SearchHit hit =
        find_row(text, rows_.row_count(), from, backwards, [this](int row, int column) {
            const LogRow& shown = rows_.row(row);
            return std::string_view(column == 0 ? shown.date_time : shown.entry);
        });
    if (hit.row < 0) {
        set_note(LoadedString(IDS_FIND_NOT_FOUND).c_str());
        return;
    }
    ListView_SetItemState(list(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list(), hit.row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list(), hit.row, FALSE);
    const unsigned note = backwards ? IDS_FIND_WRAPPED_BOTTOM : IDS_FIND_WRAPPED_TOP;
    set_note(hit.wrapped ? LoadedString(note).c_str() : "");
}

bool LoggingPage::ask_save_target(char* target, std::size_t capacity) const {
    using SaveDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
    const auto save_dialog =
        system_function<SaveDialogFunction>("comdlg32.dll", "GetSaveFileNameA");
    char folder[MAX_PATH] = {};
    proposed_copy(target, capacity, folder);
    char filter[LoadedString::capacity] = {};
    copy_text(filter, sizeof filter, LoadedString(IDS_SAVE_FILTER).c_str());
    std::replace(filter, filter + sizeof filter, '|', '\0');
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetAncestor(window_, GA_ROOT);
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = target;
    dialog.nMaxFile = static_cast<DWORD>(capacity);
    dialog.lpstrInitialDir = folder[0] != '\0' ? folder : nullptr;
    dialog.lpstrDefExt = "log";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOREADONLYRETURN | OFN_NOCHANGEDIR;
    return save_dialog != nullptr && save_dialog(&dialog) != FALSE;
}

void LoggingPage::save_log_as() {
    char target[MAX_PATH] = {};
    // One copy at a time, of a log that is there, to a file the user named (or nothing).
    if (saving_ || !can_open_log_file(log_file_path_.c_str()) ||
        !ask_save_target(target, sizeof target)) {
        return;
    }
    const HWND owner = GetAncestor(window_, GA_ROOT);
    if (same_file(target, log_file_path_.c_str())) {
        show_message_box(owner, IDS_ERR_SAVE_ONTO_LOG, MB_OK | MB_ICONERROR);
        return;
    }
    saving_ = true;
    save_started_ = GetTickCount64();
    set_note("");
    const std::string log = log_file_path_, copy = target;
    const bool started = run_in_background([log, copy, owner] {
        const DWORD outcome = copy_log(log.c_str(), copy.c_str(), [owner](int percent) {
            post_private_message(owner, private_message::log_save_progress,
                                 static_cast<WPARAM>(percent));
        });
        post_private_message(owner, private_message::log_save_done, outcome);
    });
    if (!started) {
        finish_save(GetLastError());
    }
}

void LoggingPage::show_save_progress(int percent) {
    if (!saving_ || GetTickCount64() - save_started_ < quiet_save_ms) {
        return;
    }
    char number[16] = {};
    std::snprintf(number, sizeof number, "%d", percent);
    DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(number)};
    char note[LoadedString::capacity] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                   LoadedString(IDS_SAVING).c_str(), 0, 0, note, sizeof note,
                   reinterpret_cast<va_list*>(arguments));
    set_note(note);
}

void LoggingPage::finish_save(DWORD outcome) {
    saving_ = false;
    const HWND owner = GetAncestor(window_, GA_ROOT);
    set_note(outcome == ERROR_SUCCESS ? LoadedString(IDS_SAVED).c_str() : "");
    if (outcome == ERROR_HANDLE_EOF) {
        show_message_box(owner, IDS_SAVE_CUT_SHORT, MB_OK | MB_ICONWARNING);
    } else if (outcome != ERROR_SUCCESS) {
        show_message_box(owner, IDS_ERR_SAVE_FAILED, outcome, MB_OK | MB_ICONERROR);
    }
}

void LoggingPage::give_tip(NMLVGETINFOTIPA& tip) const {
    // Only an entry the column cuts: one that shows whole needs no tip.
    if (tip.iItem < 0 || tip.iItem >= rows_.row_count() || tip.cchTextMax <= 0) {
        return;
    }
    const std::string& entry = rows_.row(tip.iItem).entry;
    const int column = static_cast<int>(SendMessageA(list(), LVM_GETCOLUMNWIDTH, 1, 0));
    if (ListTextWidths(list()).of(entry) + 2 * scale_to_dpi(cell_margins, dpi_) <= column) {
        return;
    }
    copy_text(tip.pszText, std::min(static_cast<std::size_t>(tip.cchTextMax), tip_capacity),
              entry.c_str());
}

LRESULT LoggingPage::on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) == IDC_CLEAR && HIWORD(wparam) == BN_CLICKED) {
        rows_.clear();
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
}

LRESULT LoggingPage::on_notify(HWND window, WPARAM wparam, LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header == nullptr || header->hwndFrom != list()) {
        return DefWindowProcA(window, WM_NOTIFY, wparam, lparam);
    }
    if (header->code == LVN_GETDISPINFOA) {
        rows_.give_text(*reinterpret_cast<NMLVDISPINFOA*>(lparam));
        return 0;
    }
    if (header->code == LVN_GETINFOTIPA) {
        give_tip(*reinterpret_cast<NMLVGETINFOTIPA*>(lparam));
        return 0;
    }
    if (header->code == NM_CUSTOMDRAW) {
        return draw_row(*reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
    }
    if (header->code == LVN_KEYDOWN &&
        LogListActions(rows_, log_file_path_.c_str())
            .handle_key(reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey)) {
        return 0;
    }
    return DefWindowProcA(window, WM_NOTIFY, wparam, lparam);
}

LRESULT LoggingPage::on_context_menu(HWND window, WPARAM wparam, LPARAM lparam) {
    if (reinterpret_cast<HWND>(wparam) == list()) {
        const UINT command =
            LogListActions(rows_, log_file_path_.c_str()).show_menu(window, lparam);
        if (command == IDM_FIND) {
            show_find(true);
        } else if (command == IDM_SAVE_LOG_AS) {
            save_log_as();
        }
        return 0;
    }
    return DefWindowProcA(window, WM_CONTEXTMENU, wparam, lparam);
}

LRESULT LoggingPage::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    case WM_NOTIFY:
        return on_notify(window, wparam, lparam);
    case WM_CONTEXTMENU:
        return on_context_menu(window, wparam, lparam);
    case WM_PAINT:
    case WM_ERASEBKGND: // what the tab control paints under the page shows through
        paint_nothing(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        return control_background(reinterpret_cast<HWND>(lparam), message, wparam, lparam);
    case WM_SHOWWINDOW:
        return wparam != 0 ? 0 : DefWindowProcA(window, message, wparam, lparam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
