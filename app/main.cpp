// Entry point of panelry.exe.
#include "app/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunPanelry(instance); }
