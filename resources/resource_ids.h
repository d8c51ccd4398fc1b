// Resource ids of the program (shared by the .rc file and the code).
#pragma once

#define IDI_PANELRY 102
#define IDI_CLOSE 103
#define IDI_CLOSE_PRESSED 104
#define IDI_RELEASE 105
#define IDI_RELEASE_PRESSED 106
#define IDI_MINIMIZE 107
#define IDI_MINIMIZE_PRESSED 108
#define IDC_TABDRAG 106
#define IDC_TABDRAGOUT 107
