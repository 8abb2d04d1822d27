// A window's child controls described once, as data in 96-DPI units, with the one piece of
// code that creates them and the one that lays them out at the window's DPI.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

struct ControlRow {
    const char* class_name;
    int id;
    unsigned text_id; // a string-table text, or 0 for none
    DWORD style;
    int x, y, width, height; // in the parent's client area, at 96 DPI
    std::size_t text_limit;  // set on an edit right after creation; 0 for none
    int parent_id;           // 0: the window itself; else a control made before, by its id
    DWORD extended_style;
};

class ControlTable {
public:
    template <std::size_t count>
    explicit ControlTable(const ControlRow (&rows)[count])
        : rows_(rows), count_(count), controls_(count, nullptr) {}

    // Creates every control in the table's order (the Tab key's order), placed for the DPI and
    // in the font.
    void create(HWND window, HINSTANCE instance, unsigned dpi, HFONT font);
    // Places every control again for the DPI and gives it the font.
    void lay_out(unsigned dpi, HFONT font) const;

    // The control with this id; null when it could not be made.
    HWND get(int id) const;
    // Its rectangle at the DPI, in its parent's client area.
    RECT area(int id, unsigned dpi) const;

private:
    std::size_t index_of(int id) const;

    const ControlRow* rows_;
    std::size_t count_;
    std::vector<HWND> controls_;
};

// A rectangle in 96-DPI units at the DPI.
RECT scaled_rect(const RECT& area, unsigned dpi);
