// The entry list both menu pages edit: a list box with one row per entry of
// a menu, the entry's code as the row's data, and the add, delete, up and
// down buttons beside it. The rows are the page's copy of the list until
// the page stores them back.
#pragma once

#include <windows.h>

#include <cstdint>

// A code a menu list can hold: a command kind or a separator.
bool IsMenuEntryCode(int code);

class MenuListEditor {
public:
    MenuListEditor() = default;
    // list's rows never number more than capacity.
    MenuListEditor(HWND list, int capacity) : list_(list), capacity_(capacity) {}

    // The rows of the first places of codes, up to the first place that
    // holds no entry code.
    void Load(const std::int8_t* codes, int places) const;
    // All places end markers, then the rows' codes in order.
    void Store(std::int8_t* codes, int places) const;

    // A click on one of the four buttons; true when the rows changed.
    bool OnCommand(WORD id, WORD code) const;

private:
    int Count() const;
    int Selected() const;
    int CodeAt(int row) const;
    void Insert(int row, int code) const;
    void Select(int row) const;

    bool Add() const;
    bool Delete() const;
    bool Move(int step) const;

    HWND list_ = nullptr;
    int capacity_ = 0;
};
