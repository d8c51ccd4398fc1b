// Settings files as an editor, a broken disk or another program may leave
// them: a thousand mutations of a valid system.ini and menu.ini (lines cut
// short, bytes of the hex values flipped with and without a matching
// checksum, huge and negative numbers, values of ten thousand characters,
// sections and keys missing or twice, bytes that are no CP932). Every one
// loads without a crash or a hang into settings the program can use, and
// what it saves reads back to the same settings. The real program then
// starts and closes on the twenty most mutated pairs and writes valid files.
// Mutated shortcut.ini files go through the shortcut window the same way,
// mutated $link files through the launcher panel, mutated session.ini files
// through its reader and the real program.
#include "app/settings_files.h"

#include "base/module_path.h"
#include "commands/accelerators.h"
#include "commands/command_ids.h"
#include "commands/gestures.h"
#include "commands/menu_settings.h"
#include "launcher/shortcut_window.h"
#include "settings/conditions.h"
#include "settings/profile_hex.h"
#include "settings/session_file.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/split_bar.h"
#include "tests/plugins/classadd_driver.h"
#include "tests/support/fresh_program_settings.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"
#include "tests/plugins/tool_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using testing_support::FreshProgramSettings;
using testing_support::PanelryProcess;
using testing_support::ReadFileText;
using testing_support::PumpFor;
using testing_support::WriteFileText;

namespace {

constexpr int kFiles = 1000;
constexpr int kStarted = 20;

// Everything the settings load puts in force.
struct InForce {
    SystemData record;
    std::string toolFolder;
    MenuSettings menu;
    BYTE modifiers[AcceleratorTable::kSlots];
    WORD keys[AcceleratorTable::kSlots];
    DWORD strokes[GestureTable::kSlots];
    BYTE holdKeys[GestureTable::kSlots];
    int border;
    UINT elapse;
    bool dragWithRightButton;
    BYTE gripPercent;
    std::vector<std::string> conditions;  // both sets, flattened
};

void Flatten(const cWndCondition& set, std::vector<std::string>* out) {
    out->push_back(std::to_string(set.styleMask) + (set.styleOn ? "+s" : "-s") +
                   (set.classOn ? "+c" : "-c"));
    for (std::size_t i = 0; i < set.classes.Size(); ++i) out->push_back(set.classes.At(i));
}

InForce Take() {
    InForce now{};
    now.record = GetSystemData();
    now.toolFolder = ToolFolderName();
    now.menu = GetMenuSettings();
    const AcceleratorTable& keys = AcceleratorTable::Instance();
    const GestureTable& gestures = GestureTable::Instance();
    for (int slot = 0; slot < AcceleratorTable::kSlots; ++slot) {
        now.modifiers[slot] = keys.Modifiers(slot);
        now.keys[slot] = keys.Key(slot);
        now.strokes[slot] = gestures.Strokes(slot);
        now.holdKeys[slot] = gestures.HoldKey(slot);
    }
    now.border = gestures.Border();
    now.elapse = gestures.Elapse();
    now.dragWithRightButton = cSplitbar::DragWithRightButton();
    now.gripPercent = cSplitbar::GripPercent();
    Flatten(AddConditions(), &now.conditions);
    Flatten(RemoveConditions(), &now.conditions);
    return now;
}

// What differs between two sets of settings; empty when none does.
std::string Difference(const InForce& a, const InForce& b) {
    if (std::memcmp(&a.record, &b.record, sizeof a.record) != 0) return "the settings record";
    if (a.toolFolder != b.toolFolder) return "TOOLDIR " + a.toolFolder + " / " + b.toolFolder;
    if (std::memcmp(&a.menu, &b.menu, sizeof a.menu) != 0) return "the menu model";
    if (std::memcmp(a.modifiers, b.modifiers, sizeof a.modifiers) != 0 ||
        std::memcmp(a.keys, b.keys, sizeof a.keys) != 0) {
        return "the accelerator keys";
    }
    if (std::memcmp(a.strokes, b.strokes, sizeof a.strokes) != 0 ||
        std::memcmp(a.holdKeys, b.holdKeys, sizeof a.holdKeys) != 0 || a.border != b.border ||
        a.elapse != b.elapse) {
        return "the mouse gestures";
    }
    if (a.dragWithRightButton != b.dragWithRightButton || a.gripPercent != b.gripPercent) {
        return "the split bar settings";
    }
    if (a.conditions != b.conditions) return "the window conditions";
    return "";
}

// What in force lies outside what the program can use; empty when nothing.
std::string Unusable(const InForce& now) {
    SystemData record = now.record;
    if (MakeUsable(record)) return "the settings record";
    if (now.toolFolder.size() >= static_cast<std::size_t>(kToolFolderSize)) return "TOOLDIR";
    for (const auto& title : now.menu.popupTitles) {
        if (strnlen(title, MenuSettings::kTitleSize) >= MenuSettings::kTitleSize) {
            return "a popup title";
        }
    }
    for (int slot = 0; slot < AcceleratorTable::kSlots; ++slot) {
        if ((now.modifiers[slot] & ~AcceleratorTable::kUsableModifiers) != 0 ||
            now.keys[slot] > AcceleratorTable::kLastVirtualKey) {
            return "accelerator slot " + std::to_string(slot);
        }
    }
    if (now.border < 0 || now.border > GestureTable::kLargestSetting ||
        now.elapse > static_cast<UINT>(GestureTable::kLargestSetting)) {
        return "the gesture thresholds";
    }
    if (now.gripPercent > 100) return "SBARRATE";
    for (const std::string& name : now.conditions) {
        if (name.empty() || name.size() > cClassList::kMaxName) return "a class name";
    }
    return "";
}

// The mutations, each on the text of an INI file.
class Mutator {
public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    std::string Mutate(std::string text, int times) {
        for (int i = 0; i < times; ++i) text = Once(text);
        return text;
    }

private:
    std::size_t Below(std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }

    static std::string Join(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        return text;
    }

    static bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

    // A hex digit of a long hex value, flipped; with fix, the checksum
    // (the last two digits) made to match again.
    static std::string FlipHex(std::string value, std::size_t at, bool fix) {
        const char digits[] = "0123456789ABCDEF";
        value[at] = digits[(std::strtoul(value.substr(at, 1).c_str(), nullptr, 16) + 5) % 16];
        if (!fix || value.size() < 4 || value.size() % 2 != 0) return value;
        unsigned sum = 0;
        for (std::size_t i = 0; i + 2 < value.size(); i += 2) {
            sum += std::strtoul(value.substr(i, 2).c_str(), nullptr, 16);
        }
        value[value.size() - 2] = digits[(sum >> 4) & 0xF];
        value[value.size() - 1] = digits[sum & 0xF];
        return value;
    }

    std::string Once(const std::string& text) {
        std::vector<std::string> lines = Lines(text);
        if (lines.empty()) return text;
        const std::size_t n = Below(lines.size());
        std::string& line = lines[n];
        const std::size_t eq = line.find('=');
        const std::string key = eq == std::string::npos ? line : line.substr(0, eq + 1);
        std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
        while (!value.empty() && (value.back() == '\r')) value.pop_back();
        static const char* const kNumbers[] = {"-1", "-2147483648", "2147483647", "4294967295",
                                               "99999999999999", "-99999999", "0", "007"};
        switch (Below(9)) {
        case 0:  // a line cut short
            line = line.substr(0, Below(line.size() + 1));
            break;
        case 1:  // a hex digit flipped, the checksum left wrong
            if (value.size() > 8 && std::all_of(value.begin(), value.end(), IsHex)) {
                line = key + FlipHex(value, Below(value.size()), false) + "\r";
            }
            break;
        case 2:  // a hex digit of the data flipped, the checksum matching again
            if (value.size() > 8 && std::all_of(value.begin(), value.end(), IsHex)) {
                line = key + FlipHex(value, Below(value.size() - 2), true) + "\r";
            }
            break;
        case 3:  // a number out of any range
            if (eq != std::string::npos) line = key + kNumbers[Below(8)] + "\r";
            break;
        case 4:  // ten thousand characters
            if (eq != std::string::npos) {
                std::string huge(10000, 'A');
                for (char& c : huge) c = static_cast<char>("0123456789ABCDEFxyz;= "[Below(22)]);
                line = key + huge + "\r";
            }
            break;
        case 5:  // a line gone (a key, or a whole section's header)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(n));
            break;
        case 6:  // a line twice, the copy with another value
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(n),
                         eq == std::string::npos ? line : key + "12\r");
            break;
        case 7:  // bytes that are no CP932: a lone lead byte, 0x80, 0xFF
            line.insert(Below(line.size() + 1), std::string("\x81\x80\xFF\xFC", 1 + Below(4)));
            break;
        default:  // a section twice, empty
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(n),
                         Below(2) ? "[SYSTEMDATA]\r" : "[MAIN]\r");
            break;
        }
        return Join(lines);
    }

    std::mt19937 random_;
};

struct MutatedPair {
    std::string systemIni, menuIni;
    int mutations;
};

class SettingsFuzz : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 40, 50, 500, 400,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    // A valid pair unlike the defaults: what a user who changed things has.
    void MakeValidPair(std::string* systemIni, std::string* menuIni) {
        FreshProgramSettings settings;
        SystemData& record = GetSystemData();
        record.tabStyle = TCS_BOTTOM | TCS_HOTTRACK;
        record.watchInterval = 250;
        record.closeAllOnExit = 1;
        AddConditions().classOn = true;
        AddConditions().classes.Add("Notepad");
        RemoveConditions().classes.Add("Progman");
        AcceleratorTable::Instance().Set(3, FALT, VK_F12);
        GestureTable::Instance().Set(0, 0x84, VK_RBUTTON);
        std::strcpy(GetMenuSettings().popupTitles[5], "道具(&T)");
        ASSERT_TRUE(SaveAllSettings(window_));
        *systemIni = ReadFileText(settings.SystemIni());
        *menuIni = ReadFileText(settings.Dir().File(command_ids::kMenuIni));
    }

    HWND window_ = nullptr;
};

TEST_F(SettingsFuzz, AThousandMutatedFilesLoadIntoUsableSettingsThatSaveAndReadBack) {
    std::string validSystem, validMenu;
    MakeValidPair(&validSystem, &validMenu);
    ASSERT_FALSE(validSystem.empty());
    ASSERT_FALSE(validMenu.empty());

    Mutator mutator(20261208);
    std::vector<MutatedPair> pairs;
    int failures = 0;
    for (int i = 0; i < kFiles && failures < 5; ++i) {
        MutatedPair pair{validSystem, validMenu, 0};
        const int systemTimes = 1 + i % 7, menuTimes = 1 + (i * 3) % 7;
        pair.systemIni = mutator.Mutate(validSystem, systemTimes);
        pair.menuIni = mutator.Mutate(validMenu, menuTimes);
        pair.mutations = systemTimes + menuTimes;

        FreshProgramSettings settings;
        WriteFileText(settings.SystemIni(), pair.systemIni);
        WriteFileText(settings.Dir().File(command_ids::kMenuIni), pair.menuIni);
        WINDOWPLACEMENT placement{};
        LoadAllSettings(&placement);
        const InForce loaded = Take();
        const std::string unusable = Unusable(loaded);
        if (!unusable.empty()) {
            ADD_FAILURE() << "file pair " << i << ": " << unusable << " cannot be used";
            ++failures;
        }

        ASSERT_TRUE(SaveAllSettings(window_));
        testing_support::ResetProgramState();
        LoadAllSettings(&placement);
        const std::string changed = Difference(loaded, Take());
        if (!changed.empty()) {
            ADD_FAILURE() << "file pair " << i << ": " << changed << " read back otherwise";
            ++failures;
        }
        pairs.push_back(std::move(pair));
    }
    ASSERT_EQ(failures, 0);
    ASSERT_EQ(pairs.size(), static_cast<std::size_t>(kFiles));

    // The most mutated pairs, given to the real program.
    std::stable_sort(pairs.begin(), pairs.end(), [](const MutatedPair& a, const MutatedPair& b) {
        return a.mutations > b.mutations;
    });
    for (int i = 0; i < kStarted; ++i) {
        PanelryProcess panelry;
        const std::string menuIni = panelry.Dir().File(command_ids::kMenuIni);
        WriteFileText(panelry.SystemIni(), pairs[i].systemIni);
        WriteFileText(menuIni, pairs[i].menuIni);
        EXPECT_NE(panelry.Start(), nullptr) << "pair " << i << " did not let it start";
        EXPECT_EQ(panelry.Close(), 0) << "pair " << i;
        // What it wrote is valid and usable.
        SystemData written{};
        EXPECT_TRUE(profile_hex::ReadStruct(panelry.SystemIni().c_str(),
                                            settings_ids::kSystemSection,
                                            settings_ids::kStructKey, &written, sizeof written))
            << "pair " << i;
        EXPECT_FALSE(MakeUsable(written)) << "pair " << i;
        MenuSettings model{};
        EXPECT_TRUE(profile_hex::ReadStruct(menuIni.c_str(), command_ids::kMainSection,
                                            command_ids::kMainItemsKey, model.mainMenuItems,
                                            sizeof model.mainMenuItems))
            << "pair " << i;
    }
}

constexpr int kShortcutFiles = 100;

// The 16 entries the strip holds now, read through it.
std::vector<std::string> Entries(const cShortcutWnd& strip) {
    std::vector<std::string> entries;
    for (int i = 0; i < cShortcutWnd::kSlots; ++i) {
        char entry[MAX_PATH] = "";
        strip.GetEntry(i, entry, MAX_PATH);
        entries.push_back(entry);
    }
    return entries;
}

TEST_F(SettingsFuzz, MutatedShortcutFilesLoadIntoTheStripAndAreWrittenBackValid) {
    ASSERT_TRUE(cShortcutWnd::Init(GetModuleHandleA(nullptr)));
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program = self;
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    const std::string registered[] = {program, folder + "\\sampleapp.exe", folder};

    std::string valid;
    {
        FreshProgramSettings settings;
        cShortcutWnd strip;
        for (int i = 0; i < cShortcutWnd::kSlots; ++i) {
            strip.SetEntry(i, i % 4 == 3 ? "" : registered[i % 3].c_str());
        }
        valid = ReadFileText(settings.Dir().File("shortcut.ini"));
    }
    ASSERT_NE(valid.find("No.15="), std::string::npos);

    // A registration whose file cannot be reached is kept as it was, without
    // a word: it may be on a drive that is unplugged for now.
    testing_support::MessageBoxReader reader;
    Mutator mutator(1208);
    int failures = 0;
    for (int i = 0; i < kShortcutFiles && failures < 5; ++i) {
        FreshProgramSettings settings;
        const std::string ini = settings.Dir().File("shortcut.ini");
        WriteFileText(ini, mutator.Mutate(valid, 1 + i % 6));
        cShortcutWnd strip;
        ASSERT_TRUE(strip.Create(window_, GetModuleHandleA(nullptr), 0, 0, i % 5, i % 2 != 0));
        RECT area{0, 0, 400, 300};
        strip.Layout(area);
        const std::vector<std::string> loaded = Entries(strip);
        strip.Destroy();
        for (int slot = 0; slot < cShortcutWnd::kSlots; ++slot) {
            const std::string key = "No." + std::to_string(slot);
            const std::string written = testing_support::IniValue(
                ini, "SHORTCUT PATH", key.c_str(), testing_support::kNoKey);
            if (written != loaded[slot] || written.size() >= MAX_PATH) {
                ADD_FAILURE() << "file " << i << ", " << key << ": loaded \"" << loaded[slot]
                              << "\", written \"" << written.substr(0, 80) << "\"";
                ++failures;
            }
        }
        // And it reads back as it was written.
        ASSERT_TRUE(strip.Create(window_, GetModuleHandleA(nullptr), 0, 0, 3, false));
        if (Entries(strip) != loaded) {
            ADD_FAILURE() << "file " << i << " read back otherwise";
            ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(reader.Seen().empty()) << reader.Seen().size() << " questions";
}

// Mutated classadd.ini files through the add-windows-by-class tool: what
// its list shows is whole, written back as shown, and shown again.
constexpr int kClassAddFiles = 60;

TEST_F(SettingsFuzz, MutatedClassAddFilesListWholeTextsAndAreWrittenBackAsShown) {
    testing_support::TempDir folder;
    testing_support::ClassAddTool tool(folder.Path());
    ASSERT_TRUE(tool.Loaded());
    tool.Run(window_, [](HWND dialog) {
        testing_support::SelectClassRow(dialog, 2);
        testing_support::Press(dialog, 1004);
    });
    const std::string valid = ReadFileText(tool.Ini());
    ASSERT_NE(valid.find("[ITEM 4]"), std::string::npos);

    Mutator mutator(1209);
    int failures = 0;
    for (int i = 0; i < kClassAddFiles && failures < 5; ++i) {
        WriteFileText(tool.Ini(), mutator.Mutate(valid, 1 + i % 6));
        const testing_support::ClassView shown = tool.Look(window_);
        std::string problem = testing_support::UnusableClassView(shown);
        const testing_support::ClassView written = testing_support::StoredClasses(tool.Ini());
        if (written.rows != shown.rows || written.selected != shown.selected) problem = "written";
        const testing_support::ClassView again = tool.Look(window_);
        if (again.Sorted() != shown.Sorted() || again.Chosen() != shown.Chosen()) {
            problem = "read back otherwise";
        }
        if (!problem.empty()) {
            ADD_FAILURE() << "file " << i << ": " << problem;
            ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
}

// The launcher panel's $link: a valid file cut anywhere, its bytes changed,
// its lengths made huge, bytes put in and taken out. The real plug-in opens
// its panel on each and closes it again: the slots of the whole records
// before the first damaged one are loaded (each that names a file that
// exists), and what it writes is a valid file that reads back the same.
constexpr int kLinkFiles = 100;

struct LinkContents {
    bool autoTab = false;
    std::vector<std::string> paths = std::vector<std::string>(64);
};

std::string LinkBytes(const LinkContents& contents) {
    std::string bytes(1, contents.autoTab ? '\1' : '\0');
    for (const std::string& path : contents.paths) {
        const auto length = static_cast<DWORD>(path.size());
        bytes.append(reinterpret_cast<const char*>(&length), 4).append(path);
    }
    return bytes;
}

// The file as the panel reads it: whole records up to the first cut or
// overlong one; false when it is no valid file to the last byte.
bool ParseLink(const std::string& bytes, LinkContents* contents) {
    if (bytes.empty()) return false;
    contents->autoTab = bytes[0] != 0;
    std::size_t at = 1;
    for (std::string& path : contents->paths) {
        DWORD length = 0;
        if (bytes.size() - at < 4) return false;
        std::memcpy(&length, bytes.data() + at, 4);
        if (length > 259 || bytes.size() - at - 4 < length) return false;
        path = bytes.substr(at + 4, length).c_str();
        at += 4 + length;
    }
    return at == bytes.size() && static_cast<unsigned char>(bytes[0]) <= 1;
}

TEST_F(SettingsFuzz, MutatedLinkFilesLoadTheWholeRecordsBeforeTheDamageAndAreWrittenBackValid) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program = self;
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    LinkContents valid;
    valid.autoTab = true;
    for (int i = 0; i < 64; i += 3) {
        valid.paths[i] = i % 2 ? folder : folder + "\\sampleapp.exe";
    }
    const std::string validBytes = LinkBytes(valid);

    testing_support::MessageBoxReader reader;
    std::mt19937 random(1209);
    const auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    int failures = 0;
    for (int i = 0; i < kLinkFiles && failures < 5; ++i) {
        std::string bytes = validBytes;
        for (int m = 0; m < 1 + i % 4 && !bytes.empty(); ++m) {
            const std::size_t at = below(bytes.size());
            switch (below(5)) {
            case 0: bytes.resize(at); break;
            case 1: bytes[at] = static_cast<char>(below(256)); break;
            case 2: {  // a length from 256 up to 4 GB
                const auto length = static_cast<DWORD>(256 + below(0xFFFFFF00u));
                bytes.replace(at, std::min<std::size_t>(4, bytes.size() - at),
                              reinterpret_cast<const char*>(&length), 4);
                break;
            }
            case 3: bytes.insert(at, std::string(1 + below(8), static_cast<char>(below(256)))); break;
            default: bytes.erase(at, 1 + below(300)); break;
            }
        }
        // What should come of it: the records read, each as it was, since a
        // file out of reach keeps its slot.
        LinkContents expected;
        if (!bytes.empty()) ParseLink(bytes, &expected);
        if (bytes.empty()) expected.autoTab = false;

        FreshProgramSettings settings;
        ASSERT_TRUE(testing_support::InstallDeliveredTool(settings.Dir().Path(), "link.ttl"));
        const std::string file = settings.Dir().File("tool") + "\\$link";
        WriteFileText(file, bytes);
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_EQ(ToolSlots()[0].Selected(nullptr, 1, window_), 1) << "file " << i;
            ASSERT_EQ(ToolSlots()[0].Checked(nullptr, 1, window_), 1) << "file " << i;
            ToolSlots()[0].Selected(nullptr, 1, window_);
            LinkContents written;
            const std::string writtenBytes = ReadFileText(file);
            if (!ParseLink(writtenBytes, &written) || written.autoTab != expected.autoTab ||
                written.paths != expected.paths) {
                ADD_FAILURE() << "file " << i << " (pass " << pass << ") written as "
                              << writtenBytes.size() << " bytes, not as loaded";
                ++failures;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace

// Mutated session.ini files: line by line as for the other files (through
// the file's UTF-16), and byte by byte (an odd cut, a flipped byte, the mark
// gone). Every entry read is one of those written, whole; and the real
// program, started on some of them with the option on, starts only the
// programs of entries that read back whole.
constexpr int kSessionFiles = 300;
constexpr int kSessionStarts = 4;

std::wstring WideOf(const std::string& text, UINT codePage = CP_ACP) {
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    if (n > 0) {
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    }
    return out;
}

std::string Utf8Of(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n,
                            nullptr, nullptr);
    }
    return out;
}

bool SameEntry(const SessionEntry& a, const SessionEntry& b) {
    return a.path == b.path && a.commandLine == b.commandLine && a.className == b.className &&
           a.title == b.title && a.pane == b.pane && a.process == b.process &&
           a.selected == b.selected;
}

std::string Token(int fileIndex, int entry) {
    return "panelry-fuzz-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(fileIndex) + "-" + std::to_string(entry);
}

// Three entries of the sample application, each with a token of its own,
// so that which of them started shows.
Session SampleSession(int fileIndex) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string sample = self;
    sample = sample.substr(0, sample.find_last_of('\\') + 1) + "sampleapp.exe";
    Session session;
    session.splitLayout = "H30 ";
    const wchar_t* const titles[] = {L"  空白 ", L"\"引用\"", L"한국어 😀"};
    for (int i = 0; i < 3; ++i) {
        SessionEntry entry;
        entry.path = WideOf(sample);
        entry.commandLine = WideOf("\"" + sample + "\" --token " + Token(fileIndex, i) +
                                   " --open PanelryFuzz:w" + std::to_string(i));
        entry.className = L"PanelryFuzz";
        entry.title = titles[i];
        entry.pane = i / 2;
        entry.process = i;
        entry.selected = i != 1;
        session.entries.push_back(entry);
    }
    return session;
}

std::string MutateSession(Mutator& mutator, std::mt19937& random, const std::string& valid,
                          int index) {
    if (index % 2 == 0) {
        // Through the text: "\r\n" lines, as the mutator knows them.
        std::wstring units(reinterpret_cast<const wchar_t*>(valid.data() + 2),
                           (valid.size() - 2) / 2);
        const std::wstring mutated = WideOf(mutator.Mutate(Utf8Of(units), 1 + index % 5), CP_UTF8);
        return std::string("\xFF\xFE", 2) +
               std::string(reinterpret_cast<const char*>(mutated.data()), mutated.size() * 2);
    }
    std::string bytes = valid;
    std::uniform_int_distribution<std::size_t> at(0, bytes.size() - 1);
    switch (index % 6) {
    case 1:
        bytes.resize(at(random) | 1);  // an odd length: half a unit at the end
        break;
    case 3:
        for (int k = 0; k < 3; ++k) bytes[at(random)] ^= static_cast<char>(1 << (k + 2));
        break;
    default:
        bytes.erase(0, 2);  // no byte-order mark
        bytes[at(random) % bytes.size()] ^= 0x20;
        break;
    }
    return bytes;
}

TEST_F(SettingsFuzz, MutatedSessionFilesGiveOnlyWholeEntriesAndStartOnlyThose) {
    testing_support::TempDir dir;
    const std::string path = dir.File(settings_ids::kSessionIni);
    Mutator mutator(1209);
    std::mt19937 random(1209);
    int failures = 0;
    for (int i = 0; i < kSessionFiles && failures < 5; ++i) {
        const Session written = SampleSession(i);
        ASSERT_TRUE(WriteSession(path, true, &written));
        WriteFileText(path, MutateSession(mutator, random, ReadFileText(path), i));
        Session read;
        ReadSession(path, &read);
        for (const SessionEntry& entry : read.entries) {
            bool whole = false;
            for (const SessionEntry& original : written.entries) whole |= SameEntry(entry, original);
            if (!whole) {
                ADD_FAILURE() << "file " << i << " gave an entry that was never written";
                ++failures;
            }
        }
    }

    // The real program, on files of which some entries survived and some not.
    int started = 0;
    for (int i = 0; i < kSessionFiles && started < kSessionStarts; ++i) {
        const Session written = SampleSession(i);
        PanelryProcess panelry;
        const std::string ini = panelry.Dir().File(settings_ids::kSessionIni);
        ASSERT_TRUE(WriteSession(ini, true, &written));
        const std::string mutated = MutateSession(mutator, random, ReadFileText(ini), i);
        WriteFileText(ini, mutated);
        Session read;
        ReadSession(ini, &read);
        if (read.entries.empty() || read.entries.size() == written.entries.size()) continue;
        WriteFileText(ini, mutated);
        ++started;
        ASSERT_NE(panelry.Start(), nullptr) << "file " << i;
        PumpFor(3000);
        EXPECT_TRUE(panelry.Running()) << "file " << i;
        for (int e = 0; e < 3; ++e) {
            bool readWhole = false;
            for (const SessionEntry& entry : read.entries) {
                readWhole |= SameEntry(entry, written.entries[e]);
            }
            if (readWhole) {
                EXPECT_TRUE(testing_support::WaitUntil([&] { return testing_support::SampleAppsWithToken(Token(i, e)) > 0; },
                                                       10000))
                    << "file " << i << " entry " << e;
            } else {
                EXPECT_FALSE(testing_support::SampleAppsWithToken(Token(i, e)) > 0) << "file " << i << " entry " << e;
            }
        }
        EXPECT_EQ(panelry.Close(), 0) << "file " << i;
        for (int e = 0; e < 3; ++e) testing_support::EndSampleApps(Token(i, e));
    }
    EXPECT_EQ(started, kSessionStarts) << "files with entries both whole and broken";
}
