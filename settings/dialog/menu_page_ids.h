/* The controls of the two menu pages and of the chooser their add buttons
   open. The pages share the list and its four buttons, so that one editor
   serves both. Plain defines: page_123.rc, page_115.rc and dialog_124.rc
   include this file. */
#pragma once

/* Pages 123 and 115: the entry list and its buttons */
#define IDC_MENU_LIST 1035
#define IDC_MENU_ADD 1002
#define IDC_MENU_DELETE 1003
#define IDC_MENU_UP 1005
#define IDC_MENU_DOWN 1045

/* Page 123 only: the popup being edited, its title, and whole popups */
#define IDC_MENU_POPUP 1048
#define IDC_MENU_TITLE 1028
#define IDC_MENU_DELETE_POPUP 1049
#define IDC_MENU_INSERT_POPUP 1050

/* Chooser 124: "追加" is IDOK, "キャンセル" IDCANCEL */
#define IDC_CHOOSER_LIST 1035
#define IDC_CHOOSER_SEPARATOR 1002
