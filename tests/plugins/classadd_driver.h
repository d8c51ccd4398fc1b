// The add-windows-by-class tool as its tests meet it: the real plug-in file
// copied into a folder of the test's own (classadd.ini lands beside it) and
// loaded, its list dialog opened through pluginSelected with the test's
// actions run inside it, its rows read back from the list view, and what
// classadd.ini holds read without the tool's help.
#pragma once

#include "base/code_page.h"
#include "base/handles.h"
#include "plugins/host/tool_plugin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/temp_dir.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace testing_support {

inline constexpr char kClassAddTitle[] = "追加するウィンドウのクラス名";
inline constexpr char kClassAddEntryTitle[] = "クラス名の追加";

struct ClassRow {
    std::string name;
    std::string className;
    bool operator==(const ClassRow& other) const {
        return name == other.name && className == other.className;
    }
    bool operator!=(const ClassRow& other) const { return !(*this == other); }
    bool operator<(const ClassRow& other) const {
        return std::tie(name, className) < std::tie(other.name, other.className);
    }
};

// What the list shows, or the file holds: the rows in order and the
// selected one (-1 for none).
struct ClassView {
    std::vector<ClassRow> rows;
    int selected = -1;
    // The selected row, or an entry no row can be.
    ClassRow Chosen() const {
        return selected >= 0 && selected < static_cast<int>(rows.size()) ? rows[selected]
                                                                         : ClassRow{"(none)", "\1"};
    }
    // The rows whatever their order: equal names may change places.
    std::vector<ClassRow> Sorted() const {
        std::vector<ClassRow> sorted = rows;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
};

// What in a list the tool showed it could not have kept; empty when nothing.
inline std::string UnusableClassView(const ClassView& view) {
    if (view.rows.empty()) return "no rows";
    for (const ClassRow& row : view.rows) {
        for (const std::string& text : {row.name, row.className}) {
            if (text.size() > 512 || WholeCharacters(text.c_str(), text.size()) != text.size()) {
                return "a text of " + std::to_string(text.size()) + " bytes";
            }
        }
    }
    return "";
}

inline HWND ClassList(HWND dialog) { return GetDlgItem(dialog, 1005); }

inline ClassView ShownClasses(HWND dialog) {
    const HWND list = ClassList(dialog);
    ClassView view;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        view.rows.push_back({ListViewText(list, row, 0), ListViewText(list, row, 1)});
    }
    view.selected = static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    return view;
}

// Row row selected as a click on it selects it.
inline void SelectClassRow(HWND dialog, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(ClassList(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
}

// The entries of classadd.ini as its keys say, read with room to spare.
inline ClassView StoredClasses(const std::string& ini) {
    ClassView view;
    const int count = GetPrivateProfileIntA("STATUS", "COUNT", 0, ini.c_str());
    for (int n = 0; n < count && n < 100000; ++n) {
        const std::string section = "ITEM " + std::to_string(n);
        view.rows.push_back(
            {IniValue(ini, section.c_str(), "NAME"), IniValue(ini, section.c_str(), "CLASS")});
    }
    view.selected = static_cast<int>(GetPrivateProfileIntA("STATUS", "SELECTED", -2, ini.c_str()));
    return view;
}

// The real tool file copied into folder and loaded from there.
class ClassAddTool {
public:
    explicit ClassAddTool(const std::string& folder) : ini_(folder + "\\classadd.ini") {
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string built(self);
        built.resize(built.find_last_of('\\'));
        const std::string copy = folder + "\\classadd.ttl";
        if (CopyFileA((built + "\\tool\\classadd.ttl").c_str(), copy.c_str(), FALSE)) {
            module_.reset(LoadLibraryA(copy.c_str()));
        }
        if (module_) {
            selected_ = reinterpret_cast<PluginQueryFn>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "pluginSelected")));
        }
    }
    ClassAddTool(const ClassAddTool&) = delete;
    ClassAddTool& operator=(const ClassAddTool&) = delete;

    bool Loaded() const { return selected_ != nullptr; }
    const std::string& Ini() const { return ini_; }

    // pluginSelected with mainWindow, act run in the list dialog once it
    // shows; what pluginSelected returned.
    int Run(HWND mainWindow, std::function<void(HWND)> act) {
        HWND none = nullptr;
        return WithDialog(kClassAddTitle, std::move(act),
                          [&] { return selected_(&none, 1, mainWindow); });
    }
    // What the list shows on opening; closed with "キャンセル".
    ClassView Look(HWND mainWindow) {
        ClassView view;
        Run(mainWindow, [&](HWND dialog) {
            view = ShownClasses(dialog);
            Press(dialog, 1004);
        });
        return view;
    }

private:
    std::string ini_;
    UniqueModule module_;
    PluginQueryFn selected_ = nullptr;
};

}  // namespace testing_support
