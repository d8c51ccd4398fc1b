// The snapshot tool: the client area of each pane's window saved as a 24-bit
// bitmap file, numbered 00000.bmp to 99999.bmp, in the folder "snap" beside
// this plug-in's file. A file is never overwritten.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "base/handles.h"
#include "plugins/common/tool_basics.h"
#include "plugins/common/tool_module.h"
#include "plugins/common/tool_paths.h"
#include "plugins/snap/snap_texts.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace snap_texts;

constexpr int kMaxFiles = 100000;

// The calling thread's last error in the system's words.
void ReportSystemError() {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<char*>(&text), 0, nullptr);
    MessageBoxA(nullptr, text ? text : "", kErrorCaption, MB_ICONERROR);
    if (text) LocalFree(text);
}

// The message for a snap folder that could not be made, captioned with its path.
void ReportFolderError(DWORD error, const std::string& folder) {
    const char* text = error == ERROR_PATH_NOT_FOUND        ? kPathNotFound
                       : error == ERROR_FILENAME_EXCED_RANGE ? kNameTooLong
                                                             : kUnknown;
    MessageBoxA(nullptr, text, folder.c_str(), MB_ICONERROR);
}

bool MakeSnapFolder() {
    const std::string folder = FileBesideTool(kFolder, nullptr);
    // A folder path the file functions cannot take is one they would refuse
    // as too long.
    if (!PathFits(folder)) {
        ReportFolderError(ERROR_FILENAME_EXCED_RANGE, folder);
        return false;
    }
    if (CreateDirectoryA(folder.c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return true;
    ReportFolderError(error, folder);
    return false;
}

// The file's two headers as every reader of bitmaps expects them, whichever
// width wrote them.
static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40,
              "bitmap files have a 14-byte file header and a 40-byte information header");

// Writes the headers and pixels to the first free snap\nnnnn.bmp; false when
// the file could not be made (reported) or every name is taken (not).
bool WriteFirstFree(const BITMAPFILEHEADER& file, const BITMAPINFOHEADER& info,
                    const void* pixels) {
    for (int n = 0; n < kMaxFiles; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, kFileFormat, n);
        const std::string path = FileBesideTool(name, kFileExtension);
        // Every name has five digits: one that does not fit means none does.
        if (!PathFits(path)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            ReportSystemError();
            return false;
        }
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        const UniqueFile out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) {
            ReportSystemError();
            return false;
        }
        DWORD written = 0;
        WriteFile(out.get(), &file, sizeof file, &written, nullptr);
        WriteFile(out.get(), &info, sizeof info, &written, nullptr);
        WriteFile(out.get(), pixels, info.biSizeImage, &written, nullptr);
        return true;
    }
    return false;
}

bool Snap(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    const DWORD rowSize = static_cast<DWORD>(((24 * width + 31) & ~31) / 8);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = rowSize * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;

    UniqueDC memory;
    UniqueBitmap bitmap;
    void* pixels = nullptr;
    {
        // The window's DC goes back once the pixels are copied, before any
        // file work (or message box) that may take a while.
        const WindowDC windowDc(window);
        if (!windowDc) {
            ReportSystemError();
            return false;
        }
        memory.reset(CreateCompatibleDC(windowDc.get()));
        bitmap.reset(CreateDIBSection(windowDc.get(), reinterpret_cast<BITMAPINFO*>(&info),
                                      DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (!memory || !bitmap) {
            ReportSystemError();
            return false;
        }
        const SelectedObject drawnInto(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, windowDc.get(), client.left, client.top,
               SRCCOPY);
    }
    GdiFlush();
    return MakeSnapFolder() && WriteFirstFree(file, info, pixels);
}

}  // namespace

PANELRY_TOOL_BASICS(snap_texts::kName, snap_texts::kMaker)
PANELRY_TOOL_DLLMAIN(nullptr)

extern "C" {

int __cdecl pluginIsMenuItemEnable(HWND* windows, int count, HWND) {
    return AnyWindowGiven(windows, count) ? 1 : 0;
}

int __cdecl pluginSelected(HWND* windows, int count, HWND) {
    if (!windows || count == 0) return 0;
    int saved = 0;
    for (int i = 0; i < count; ++i) {
        if (windows[i] && Snap(windows[i])) ++saved;
    }
    return saved > 0 ? 1 : 0;
}

}  // extern "C"
