/* The controls of the style pages (template IDD_PAGE_STYLES), the add and
   the remove conditions' alike. Plain defines: the page's resource script
   includes this file too. */
#pragma once

/* The style criterion */
#define IDC_STYLES_ENABLED 1052
/* The nine style bits, top to bottom */
#define IDC_STYLE_POPUP 1012
#define IDC_STYLE_THICKFRAME 1013
#define IDC_STYLE_VSCROLL 1014
#define IDC_STYLE_HSCROLL 1015
#define IDC_STYLE_SYSMENU 1016
#define IDC_STYLE_BORDER 1017
#define IDC_STYLE_DLGFRAME 1018
#define IDC_STYLE_MAXIMIZEBOX 1019
#define IDC_STYLE_MINIMIZEBOX 1020
