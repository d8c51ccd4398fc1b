/* The controls of the shortcut-window page and of its editor of the
   registered applications. Plain defines: page_114.rc includes this file. */
#pragma once

/* Page 114 */
#define IDC_SHORTCUT_SHOW 1012
#define IDC_SHORTCUT_LARGE_ICONS 1006
#define IDC_SHORTCUT_SMALL_ICONS 1007
#define IDC_SHORTCUT_TOP 1008
#define IDC_SHORTCUT_BOTTOM 1009
#define IDC_SHORTCUT_LEFT 1010
#define IDC_SHORTCUT_RIGHT 1011
#define IDC_SHORTCUT_EDIT_ENTRIES 1002

/* Editor 126: OK and CANCEL are IDOK and IDCANCEL; row n is the editor's
   child with this id + n */
#define IDC_SHORTCUT_FIRST_ROW 1100

/* Row 127 */
#define IDC_SHORTCUT_ROW_PATH 1028
#define IDC_SHORTCUT_ROW_BROWSE 1002
#define IDC_SHORTCUT_ROW_CLEAR 1003
