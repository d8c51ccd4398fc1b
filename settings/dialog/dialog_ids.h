/* The settings dialog's templates and the controls of its frame. Plain
   defines: the resource scripts include this file too. */
#pragma once

/* Frame */
#define IDD_SETTINGS 105
#define IDC_SETTINGS_TREE 1030
#define IDC_SETTINGS_PAGES 1031

/* Pages, by template */
#define IDD_PAGE_BEHAVIOUR 104
#define IDD_PAGE_WINDOW 108
#define IDD_PAGE_CONDITIONS 120
#define IDD_PAGE_TAB 101
#define IDD_PAGE_SHORTCUT 114
#define IDD_PAGE_ACCELERATORS 109
#define IDD_PAGE_TOOLS 110
#define IDD_PAGE_TAB_MENU 115
#define IDD_PAGE_VERSION 118
#define IDD_PAGE_SPLITBAR 119
#define IDD_PAGE_MENU 123
#define IDD_PAGE_CLASSES 121
#define IDD_PAGE_STYLES 103

/* The registered-applications editor of the shortcut page and its rows */
#define IDD_SHORTCUT_EDITOR 126
#define IDD_SHORTCUT_ROW 127

/* The chooser of a menu entry that the two menu pages' add buttons open */
#define IDD_MENU_ITEM_CHOOSER 124

/* Page n of the page table is the page frame's child with this id + n */
#define IDC_FIRST_PAGE 2000

