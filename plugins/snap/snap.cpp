// The snapshot tool: the client area of each pane's window saved as a 24-bit
// bitmap file, numbered 00000.bmp to 99999.bmp, in the folder "snap" beside
// this plug-in's file. A file is never overwritten.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "plugins/common/tool_basics.h"
#include "plugins/common/tool_paths.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kErrorCaption[] = "Error";
constexpr char kPathNotFound[] =
    "Error@CreateDirectory:\n存在しないフォルダ内に snap フォルダを作成しようとしました";
constexpr char kNameTooLong[] = "Error@CreateDirectory:\nフォルダ名が長すぎます";
constexpr char kUnknown[] = "Error@CreateDirectory:\n未知のエラー";
constexpr int kMaxFiles = 100000;

HMODULE g_self = nullptr;

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
    const std::string folder = PathBesideModule(g_self, "snap", nullptr);
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
        std::snprintf(name, sizeof name, "snap\\%.5d", n);
        const std::string path = PathBesideModule(g_self, name, "bmp");
        // Every name has five digits: one that does not fit means none does.
        if (!PathFits(path)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            ReportSystemError();
            return false;
        }
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) {
            ReportSystemError();
            return false;
        }
        DWORD written = 0;
        WriteFile(out, &file, sizeof file, &written, nullptr);
        WriteFile(out, &info, sizeof info, &written, nullptr);
        WriteFile(out, pixels, info.biSizeImage, &written, nullptr);
        CloseHandle(out);
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

    HDC windowDc = GetDC(window);
    if (!windowDc) {
        ReportSystemError();
        return false;
    }
    HDC memory = CreateCompatibleDC(windowDc);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, reinterpret_cast<BITMAPINFO*>(&info),
                                      DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!memory || !bitmap) {
        ReportSystemError();
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        ReleaseDC(window, windowDc);
        return false;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, windowDc, client.left, client.top, SRCCOPY);
    ReleaseDC(window, windowDc);
    GdiFlush();
    bool saved = false;
    if (MakeSnapFolder()) saved = WriteFirstFree(file, info, pixels);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return saved;
}

}  // namespace

PANELRY_TOOL_BASICS("スナップ", "Panelry")

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}

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
