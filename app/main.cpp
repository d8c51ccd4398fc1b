// Entry point of panelry.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The main window arrives with the application core; until then the
    // program only proves that it builds and links.
    return 1;
}
