/* The controls of the settings page "ウィンドウ" (template 108). Plain
   defines: its resource script includes this file too. */
#pragma once

/* "メインウィンドウ" */
#define IDC_WINDOW_MAIN_CLIENTEDGE 1012
#define IDC_WINDOW_MAIN_TOOLWINDOW 1013
/* "タブウィンドウ" */
#define IDC_WINDOW_TAB_CLIENTEDGE 1014
/* "ヘッダ": the border, then a sample and two colour buttons per state */
#define IDC_WINDOW_HEADER_CLIENTEDGE 1015
#define IDC_WINDOW_ACTIVE_SAMPLE 1034
#define IDC_WINDOW_ACTIVE_BACK 1002
#define IDC_WINDOW_ACTIVE_TEXT 1003
#define IDC_WINDOW_INACTIVE_SAMPLE 1035
#define IDC_WINDOW_INACTIVE_BACK 1005
#define IDC_WINDOW_INACTIVE_TEXT 1045
/* "ショートカットウィンドウ" */
#define IDC_WINDOW_SHORTCUT_DLGFRAME 1016
#define IDC_WINDOW_SHORTCUT_CLIENTEDGE 1017
