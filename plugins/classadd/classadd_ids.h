/* The add-windows-by-class tool's dialog templates and controls. Plain
   defines: the tool's resource script includes this file too. */
#pragma once

/* The list of named window classes */
#define IDD_CLASSADD_LIST 101
#define IDC_CLASSADD_ADD 1001
#define IDC_CLASSADD_DELETE 1002
#define IDC_CLASSADD_CAPTURE 1003
#define IDC_CLASSADD_CANCEL 1004
#define IDC_CLASSADD_ENTRIES 1005

/* A new entry for the list */
#define IDD_CLASSADD_ENTRY 102
#define IDC_ENTRY_OK 1001
#define IDC_ENTRY_CANCEL 1002
#define IDC_ENTRY_NAME 1006
#define IDC_ENTRY_CLASS 1007
