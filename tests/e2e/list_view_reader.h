// Reads another process's list view: its rows, cell texts and columns, with the records
// and text buffers the messages need placed in that process.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "e2e/remote_memory.h"

class ListViewReader {
public:
    using Row = std::pair<std::string, std::string>; // the first two columns

    // Room for cell texts of up to text_capacity - 1 characters.
    explicit ListViewReader(HWND list, std::size_t text_capacity = 80 * 1024);

    bool valid() const { return memory_.valid(); }
    int count() const;
    std::string text(int row, int column) const;
    Row row(int index) const { return {text(index, 0), text(index, 1)}; }
    std::vector<Row> rows() const;

    // Polls until the list holds `count` rows, the last of them these.
    bool wait_for_rows(int count, const std::vector<Row>& last, DWORD timeout_ms = 10000) const;

    // Whether the newest (last) row lies within the view.
    bool shows_last_row() const;

    std::string column_title(int column) const;
    int column_width(int column) const;

private:
    HWND list_;
    std::size_t capacity_;
    RemoteMemory memory_;
};
