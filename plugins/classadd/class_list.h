// The tool's list of named window classes as classadd.ini keeps it between
// openings of the list dialog.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Bytes an entry's text may take: the add-entry dialog's edits hold 256
// characters, and one of the code page may take two bytes. A text read
// from the file is cut at a whole character to this.
inline constexpr int kEntryTextBytes = 512;
inline constexpr int kEntryTextSize = kEntryTextBytes + 1;

struct ClassEntry {
    std::string name;       // what the user calls it
    std::string className;  // the window class whose windows it captures
};

struct ClassList {
    std::vector<ClassEntry> entries;  // in the file's order
    int selected = -1;                // row in the sorted list; -1 for none
    bool builtIn = false;             // the built-in entries: the first row is selected
};

// classadd.ini beside the module self.
std::string ClassListPath(HMODULE self);

// The entries the file holds; with none, the list a first use starts with
// (the built-in entries, of which the first in the list's order is
// selected).
ClassList LoadClassList(const char* iniPath);

// Writes "COUNT", "SELECTED" and then each entry's "NAME" and "CLASS", in
// this order.
void SaveClassList(const char* iniPath, const ClassList& list);
