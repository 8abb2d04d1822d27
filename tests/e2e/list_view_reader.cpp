#include "e2e/list_view_reader.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The record sits first, its text buffer right after it.
constexpr std::size_t text_offset = std::max(sizeof(LVITEMA), sizeof(LVCOLUMNA));

} // namespace

ListViewReader::ListViewReader(HWND list, std::size_t text_capacity)
    : list_(list), capacity_(text_capacity), memory_(list, text_offset + text_capacity) {}

int ListViewReader::count() const {
    return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewReader::text(int row, int column) const {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = memory_.at(text_offset);
    item.cchTextMax = static_cast<int>(capacity_);
    const char empty = '\0';
    if (!memory_.write(0, &item, sizeof item) || !memory_.write(text_offset, &empty, 1)) {
        return std::string();
    }
    const LRESULT length = SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                        reinterpret_cast<LPARAM>(memory_.at(0)));
    const auto size =
        std::min(static_cast<std::size_t>(std::max<LRESULT>(length, 0)), capacity_ - 1);
    std::string text(size, '\0');
    if (size > 0 && !memory_.read(text_offset, &text[0], size)) {
        return std::string();
    }
    return text;
}

std::vector<ListViewReader::Row> ListViewReader::rows() const {
    std::vector<Row> result;
    const int total = count();
    for (int index = 0; index < total; ++index) {
        result.push_back(row(index));
    }
    return result;
}

bool ListViewReader::shows_last_row() const {
    const auto top = static_cast<int>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
    const auto per_page = static_cast<int>(SendMessageA(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    const int last = count() - 1;
    return top <= last && last < top + per_page;
}

std::string ListViewReader::column_title(int column) const {
    LVCOLUMNA record = {};
    record.mask = LVCF_TEXT;
    record.pszText = memory_.at(text_offset);
    record.cchTextMax = static_cast<int>(capacity_);
    const char empty = '\0';
    if (!memory_.write(0, &record, sizeof record) || !memory_.write(text_offset, &empty, 1)) {
        return std::string();
    }
    if (!SendMessageA(list_, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                      reinterpret_cast<LPARAM>(memory_.at(0)))) {
        return std::string();
    }
    return memory_.read_text(text_offset, 256);
}

int ListViewReader::column_width(int column) const {
    return static_cast<int>(
        SendMessageA(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

bool ListViewReader::wait_for_rows(int wanted, const std::vector<Row>& last,
                                   DWORD timeout_ms) const {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        bool same = count() == wanted;
        for (std::size_t i = 0; same && i < last.size(); ++i) {
            same = row(wanted - static_cast<int>(last.size() - i)) == last[i];
        }
        if (same || GetTickCount64() >= deadline) {
            return same;
        }
        Sleep(20);
    }
}
