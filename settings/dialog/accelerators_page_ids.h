/* The controls of the accelerator-key page (template IDD_PAGE_ACCELERATORS)
   and of the dialog that edits one of its rows. Plain defines: their
   resource script includes this file too. */
#pragma once

/* Page 109 */
#define IDC_ACCEL_DRAW_HOTKEYS 1012
#define IDC_ACCEL_GLOBAL_HOOK 1013
#define IDC_ACCEL_BORDER 1028
#define IDC_ACCEL_BORDER_SPIN 1029
#define IDC_ACCEL_ELAPSE 1030
#define IDC_ACCEL_ELAPSE_SPIN 1031
#define IDC_ACCEL_LIST 1035

/* The row editor: the key, the eight strokes, their clearing and the held
   key; OK and CANCEL are IDOK and IDCANCEL */
#define IDD_HOTKEY_EDITOR 125
#define IDC_HOTKEY_KEY 1033
#define IDC_HOTKEY_STROKE_1 1048
#define IDC_HOTKEY_STROKE_2 1060
#define IDC_HOTKEY_STROKE_3 1061
#define IDC_HOTKEY_STROKE_4 1062
#define IDC_HOTKEY_STROKE_5 1063
#define IDC_HOTKEY_STROKE_6 1064
#define IDC_HOTKEY_STROKE_7 1065
#define IDC_HOTKEY_STROKE_8 1066
#define IDC_HOTKEY_CLEAR 1002
#define IDC_HOTKEY_HOLD_KEY 1057
