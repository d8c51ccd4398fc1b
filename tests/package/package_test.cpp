// The release as a user gets it: panelry-<version>-<width>.zip, unpacked by
// tests/package/UnpackAndRun.cmake into a fresh folder whose path holds a
// space and Japanese characters (one with a 0x5C trail byte), named by the
// environment variable PANELRY_RELEASE_FOLDER. The real panelry.exe starts
// from there, lists the delivered tools, captures a window of the sample
// application and closes; its settings files must land beside it and
// nowhere else, and a release unpacked again over a used folder must leave
// the user's settings as they were.
//
// The driver runs these tests one at a time, in the order its steps give.
#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/messages.h"
#include "base/version.h"
#include "commands/command_ids.h"
#include "plugins/datestamp/date_text.h"
#include "plugins/host/host_ids.h"
#include "plugins/host/tool_plugin.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/tools_page_ids.h"
#include "settings/settings_ids.h"
#include "tests/support/desktop_input.h"
#include "tests/support/panelry_process.h"
#include "tests/support/on_screen.h"
#include "tests/support/process_start.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

using testing_support::FileExists;
using testing_support::IniValue;
using testing_support::MainWindowOf;
using testing_support::ReadFileText;
using testing_support::SampleApp;
using testing_support::WaitForExit;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

const std::string kTop = "panelry-" + std::to_string(PANELRY_VERSION_MAJOR) + "." +
                         std::to_string(PANELRY_VERSION_MINOR);
const char* const kDeliveredTools[] = {"datestamp.ttl", "snap.ttl", "exefolder.ttl",
                                       "classadd.ttl", "link.ttl"};
// What the program writes beside itself in a run like these.
const std::set<std::string> kWrittenSettings = {
    settings_ids::kSystemIni, command_ids::kMenuIni, host_ids::kToolsIni};

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The folder the driver unpacked the release into, in the code page's
// bytes as the program sees its own path. (Read wide: Wine's narrow
// GetEnvironmentVariableA cuts a double-byte value at its character count.)
std::string UnpackedFolder() {
    wchar_t folder[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"PANELRY_RELEASE_FOLDER", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    char bytes[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, folder, -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

std::string ProgramFolder() { return UnpackedFolder() + "\\" + kTop; }

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\'));
}

std::string WorkingFolder() {
    char path[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

// Every file in folder and in the folders below it down to depth levels,
// by path relative to it; folders end with a backslash. Links are not
// followed (Wine links some of a profile's folders to the Unix home).
void ListTree(const std::string& folder, const std::string& prefix, int depth,
              std::vector<std::string>& found) {
    WIN32_FIND_DATAA entry{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found.push_back(prefix + name + "\\");
            if (depth > 0 && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                ListTree(folder + "\\" + name, prefix + name + "\\", depth - 1, found);
            }
        } else {
            found.push_back(prefix + name);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

std::vector<std::string> Tree(const std::string& folder, int depth = 8) {
    std::vector<std::string> found;
    if (!folder.empty()) ListTree(folder, "", depth, found);
    std::sort(found.begin(), found.end());
    return found;
}

// The INI files of a place and of the folders below it down to depth
// levels, each with its bytes.
using IniFiles = std::map<std::string, std::string>;
IniFiles IniFilesOf(const std::string& folder, int depth = 8) {
    IniFiles files;
    for (const std::string& name : Tree(folder, depth)) {
        if (name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".ini") {
            files[Lower(name)] = ReadFileText(folder + "\\" + name);
        }
    }
    return files;
}

// What changed between two looks at one place: files new or rewritten.
std::set<std::string> Written(const IniFiles& before, const IniFiles& after) {
    std::set<std::string> written;
    for (const auto& [name, bytes] : after) {
        const auto old = before.find(name);
        if (old == before.end() || old->second != bytes) written.insert(name);
    }
    return written;
}

// Places other than the program's folder where a careless path would put
// a settings file: the build's program folder, the folder Panelry was
// started in, the Windows folder (where a bare file name given to the
// profile functions goes) and the user's application data.
std::string WindowsFolder() {
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

std::string ShellFolder(int which) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// A folder of the program's own in the application data would be one or
// two levels down.
struct OtherPlaces {
    IniFiles bin = IniFilesOf(OwnFolder());
    IniFiles working = IniFilesOf(WorkingFolder());
    IniFiles windows = IniFilesOf(WindowsFolder(), 0);
    IniFiles roaming = IniFilesOf(ShellFolder(CSIDL_APPDATA), 2);
    IniFiles local = IniFilesOf(ShellFolder(CSIDL_LOCAL_APPDATA), 2);
};

void ExpectNothingWrittenElsewhere(const OtherPlaces& before) {
    const OtherPlaces after;
    const std::set<std::string> none;
    EXPECT_EQ(Written(before.bin, after.bin), none) << OwnFolder();
    EXPECT_EQ(Written(before.working, after.working), none) << WorkingFolder();
    EXPECT_EQ(Written(before.windows, after.windows), none) << WindowsFolder();
    EXPECT_EQ(Written(before.roaming, after.roaming), none) << ShellFolder(CSIDL_APPDATA);
    EXPECT_EQ(Written(before.local, after.local), none) << ShellFolder(CSIDL_LOCAL_APPDATA);
}

// panelry.exe of the unpacked release, started as a user starts it from a
// shortcut: the current folder is another one (the test's).
class ReleasedPanelry {
public:
    ReleasedPanelry() {
        testing_support::StartedProcess started =
            testing_support::StartProcess("\"" + ProgramFolder() + "\\panelry.exe\"");
        if (!started) return;
        process_ = std::move(started.process);
        processId_ = started.processId;
        WaitUntil([&] {
            main_ = MainWindowOf(processId_);
            return main_ != nullptr && IsWindowVisible(main_);
        }, 60000);
    }
    ~ReleasedPanelry() {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 1);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
    ReleasedPanelry(const ReleasedPanelry&) = delete;
    ReleasedPanelry& operator=(const ReleasedPanelry&) = delete;

    HWND Main() const { return main_; }
    DWORD ProcessId() const { return processId_; }

    // As the window's close button does; the exit code, -1000 on no exit.
    int Close() {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        return WaitForExit(process_.get(), 20000);
    }

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

BOOL CALLBACK MatchRegisteredList(HWND window, LPARAM data) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (GetDlgCtrlID(window) == IDC_TOOLS_REGISTERED && lstrcmpiA(className, WC_LISTVIEWA) == 0) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// One cell of a list view in another process, read through a buffer lent
// in that process's memory (the control writes where the message points).
std::string RemoteCell(HANDLE process, HWND list, int row, int column) {
    struct Block {
        LVITEMA item;
        char text[256];
    };
    void* remote = VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote) return "(no memory lent)";
    Block block{};
    block.item.iSubItem = column;
    block.item.pszText = static_cast<char*>(remote) + offsetof(Block, text);
    block.item.cchTextMax = sizeof block.text;
    std::string text = "(not read)";
    DWORD_PTR ignored = 0;
    if (WriteProcessMemory(process, remote, &block, sizeof block, nullptr) &&
        SendMessageTimeoutA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote),
                            SMTO_NORMAL, 5000, &ignored) &&
        ReadProcessMemory(process, remote, &block, sizeof block, nullptr)) {
        block.text[sizeof block.text - 1] = '\0';
        text = block.text;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

struct ListedTool {
    std::string name;
    std::string path;
    bool operator<(const ListedTool& other) const { return path < other.path; }
    bool operator==(const ListedTool& other) const {
        return name == other.name && path == other.path;
    }
};

std::ostream& operator<<(std::ostream& out, const ListedTool& tool) {
    return out << tool.path << " \"" << tool.name << "\"";
}

// The registered tools as the settings dialog's page "ツール" lists them,
// the dialog opened from the menu command "設定" and cancelled again.
std::vector<ListedTool> RegisteredTools(const ReleasedPanelry& panelry) {
    std::vector<ListedTool> tools;
    PostMessageA(panelry.Main(), WM_COMMAND, kSettings, 0);
    HWND dialog = nullptr;
    WaitUntil([&] {
        const auto found =
            testing_support::ShownTopLevelWindows(panelry.ProcessId(), "#32770", "設定");
        dialog = found.empty() ? nullptr : found.front();
        return dialog != nullptr;
    }, 15000);
    EXPECT_NE(dialog, nullptr) << "the settings dialog did not open";
    if (!dialog) return tools;
    // The dialog shows before it makes its pages; the tree is filled once
    // they are all made.
    const HWND tree = GetDlgItem(dialog, IDC_SETTINGS_TREE);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tree, TVM_GETCOUNT, 0, 0) == 15; }, 15000))
        << "the dialog's page tree was not filled";
    HWND list = nullptr;
    EnumChildWindows(dialog, &MatchRegisteredList, reinterpret_cast<LPARAM>(&list));
    EXPECT_NE(list, nullptr) << "no list of registered tools";
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, panelry.ProcessId()));
    EXPECT_TRUE(process);
    if (list && process) {
        const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) {
            // The columns: name, copyright, version, path.
            tools.push_back({RemoteCell(process.get(), list, row, 0),
                             RemoteCell(process.get(), list, row, 3)});
        }
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000)) << "the dialog stays";
    std::sort(tools.begin(), tools.end());
    return tools;
}

// The tools menu of the menu bar opened with its mnemonic and its first item
// taken, with keys typed on the X server's keyboard as a user would.
void ChooseTheFirstToolFromTheToolsMenu(const ReleasedPanelry& panelry) {
    RECT r{};
    GetWindowRect(panelry.Main(), &r);
    // Keys of the X server go where its pointer is, when nothing else holds
    // the X focus.
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(WaitUntil([&] {
        if (GetForegroundWindow() != panelry.Main()) SetForegroundWindow(panelry.Main());
        return testing_support::FocusProcess() == panelry.ProcessId();
    }, 10000));
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    ASSERT_TRUE(testing_support::RunXdotool("key alt+l")) << "xdotool missing?";
    ASSERT_TRUE(WaitUntil([&] {
        return !testing_support::ShownTopLevelWindows(panelry.ProcessId(), "#32768").empty();
    }, 10000)) << "no menu opened";
    ASSERT_TRUE(testing_support::RunXdotool("key Return"));
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* locked = static_cast<const char*>(GlobalLock(data))) {
            text = locked;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string TodaysDate() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char date[kDateTextSize];
    FormatDateText(now, date);
    return date;
}

// The tools of the unpacked tool folder as the program would list them:
// each file's own name for itself.
std::vector<ListedTool> ToolsInTheRelease(std::initializer_list<const char*> files) {
    std::vector<ListedTool> tools;
    for (const char* file : files) {
        const std::string path = ProgramFolder() + "\\tool\\" + file;
        UniqueModule module(LoadLibraryA(path.c_str()));
        EXPECT_TRUE(module) << path;
        char name[256] = "";
        if (module) {
            auto named = reinterpret_cast<PluginNameFn>(GetProcAddress(module.get(), "pluginName"));
            if (named) named(name, sizeof name - 1);
        }
        tools.push_back({name, file});
    }
    std::sort(tools.begin(), tools.end());
    return tools;
}

class Package : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(UnpackedFolder().empty())
            << "PANELRY_RELEASE_FOLDER names no folder: run through UnpackAndRun.cmake";
        const std::string folder = UnpackedFolder();
        ASSERT_NE(folder.find(' '), std::string::npos) << folder;
        ASSERT_NE(std::find_if(folder.begin(), folder.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 0x80; }),
                  folder.end())
            << folder;
    }
};

#ifdef _WIN64
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_AMD64;
#else
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_I386;
#endif

// The machine a program file's header names; 0 when it has none.
WORD MachineOf(const std::string& path) {
    const std::string bytes = ReadFileText(path);
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return 0;
    IMAGE_DOS_HEADER dos{};
    std::memcpy(&dos, bytes.data(), sizeof dos);
    const std::size_t at = static_cast<std::size_t>(dos.e_lfanew) + sizeof(DWORD);
    IMAGE_FILE_HEADER header{};
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || at + sizeof header > bytes.size()) return 0;
    std::memcpy(&header, bytes.data() + at, sizeof header);
    return header.Machine;
}

TEST_F(Package, HoldsOneFolderWithTheProgramItsToolsTheGuideAndTheLicence) {
    ASSERT_EQ(Tree(UnpackedFolder(), 0), std::vector<std::string>{kTop + "\\"})
        << "one top folder, named by version";
    std::vector<std::string> files = Tree(ProgramFolder());
    std::vector<std::string> pictures;
    std::vector<std::string> rest;
    for (const std::string& file : files) {
        if (file.rfind("docs\\images\\", 0) == 0 && file.size() > 12 &&
            Lower(file.substr(file.size() - 4)) == ".png") {
            pictures.push_back(file);
        } else {
            rest.push_back(file);
        }
    }
    std::vector<std::string> expected = {
        "LICENSE.txt", "docs\\", "docs\\images\\", "docs\\index.html", "inputtap.dll",
        "menu.default.ini", "panelry.exe", "tool\\", "tools.default.ini"};
    for (const char* tool : kDeliveredTools) expected.push_back(std::string("tool\\") + tool);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rest, expected);
    EXPECT_GE(pictures.size(), 15u) << "the guide's pictures, a settings page each at least";
    // Every program file of the zip is of its width, the tools included.
    for (const std::string& file : rest) {
        const std::string extension = Lower(file.substr(file.find_last_of('.') + 1));
        if (extension != "exe" && extension != "dll" && extension != "ttl") continue;
        EXPECT_EQ(MachineOf(ProgramFolder() + "\\" + file), kOwnMachine) << file;
    }

    // The registrations and the first start's menus are the only settings
    // files: none of the user's.
    EXPECT_EQ(IniFilesOf(ProgramFolder()).size(), 2u);
    const std::string defaults = ProgramFolder() + "\\" + host_ids::kToolsDefaultIni;
    for (int slot = 0; slot < 5; ++slot) {
        const std::string key = "No." + std::to_string(slot);
        EXPECT_EQ(IniValue(defaults, host_ids::kToolsSection, key.c_str()),
                  kDeliveredTools[slot]);
    }
    const std::string licence = ReadFileText(ProgramFolder() + "\\LICENSE.txt");
    EXPECT_NE(licence.find("MIT License"), std::string::npos);
    EXPECT_NE(licence.find("Copyright (c) 2026 Panelry developers"), std::string::npos);
}

TEST_F(Package, RunsFromItsFolderListsTheToolsAndWritesItsSettingsThereOnly) {
    const IniFiles releaseBefore = IniFilesOf(ProgramFolder());
    ASSERT_EQ(releaseBefore.size(), 2u) << "a release as it was unpacked";
    const OtherPlaces elsewhereBefore;
    SampleApp app;
    WindowSpec form;
    form.title = "パッケージの試験";
    const HWND window = app.Open(form);
    ASSERT_NE(window, nullptr);

    ReleasedPanelry panelry;
    ASSERT_NE(panelry.Main(), nullptr) << "panelry.exe of the release showed no window";
    EXPECT_EQ(RegisteredTools(panelry),
              ToolsInTheRelease({"datestamp.ttl", "snap.ttl", "exefolder.ttl", "classadd.ttl",
                                 "link.ttl"}));
    ChooseTheFirstToolFromTheToolsMenu(panelry);
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == TodaysDate(); }, 15000))
        << "the date stamp, first in \"ツール(&L)\": " << ClipboardText();
    ASSERT_EQ(SendMessageA(panelry.Main(), PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
    EXPECT_EQ(GetAncestor(window, GA_ROOT), panelry.Main());
    EXPECT_EQ(panelry.Close(), 0);
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow()) << "given back at the close";

    const IniFiles releaseAfter = IniFilesOf(ProgramFolder());
    EXPECT_EQ(Written(releaseBefore, releaseAfter), kWrittenSettings);
    for (const char* delivered : {host_ids::kToolsDefaultIni, command_ids::kMenuDefaultIni}) {
        EXPECT_EQ(releaseAfter.at(delivered), releaseBefore.at(delivered))
            << delivered << ", the release's own, is never written";
    }
    const std::string tools = ProgramFolder() + "\\" + host_ids::kToolsIni;
    for (int slot = 0; slot < 5; ++slot) {
        const std::string key = "No." + std::to_string(slot);
        EXPECT_EQ(IniValue(tools, host_ids::kToolsSection, key.c_str()), kDeliveredTools[slot]);
    }
    ExpectNothingWrittenElsewhere(elsewhereBefore);
}

// Used once (the driver then unpacks the release again over the folder,
// and runs UnpackedOverTheUsedFolder): the user moved the main window and
// took the launcher panel off the tool list.
TEST_F(Package, UsedOnce) {
    ReleasedPanelry panelry;
    ASSERT_NE(panelry.Main(), nullptr);
    MoveWindow(panelry.Main(), 30, 40, 500, 350, TRUE);
    EXPECT_EQ(RegisteredTools(panelry).size(), 5u);
    EXPECT_EQ(panelry.Close(), 0);
    const std::string tools = ProgramFolder() + "\\" + host_ids::kToolsIni;
    ASSERT_TRUE(FileExists(tools));
    ASSERT_TRUE(WritePrivateProfileStringA(host_ids::kToolsSection, "No.4", "", tools.c_str()));
}

TEST_F(Package, UnpackedOverTheUsedFolder) {
    ReleasedPanelry panelry;
    ASSERT_NE(panelry.Main(), nullptr);
    RECT placed{};
    GetWindowRect(panelry.Main(), &placed);
    EXPECT_EQ(placed.left, 30) << "system.ini as the user left it";
    EXPECT_EQ(placed.top, 40);
    EXPECT_EQ(placed.right - placed.left, 500);
    EXPECT_EQ(RegisteredTools(panelry),
              ToolsInTheRelease({"datestamp.ttl", "snap.ttl", "exefolder.ttl", "classadd.ttl"}))
        << "the tools the user kept, not the release's five";
    EXPECT_EQ(panelry.Close(), 0);
    const std::string tools = ProgramFolder() + "\\" + host_ids::kToolsIni;
    EXPECT_EQ(IniValue(tools, host_ids::kToolsSection, "No.4", "(none)"), "");
}

}  // namespace
