/* The controls of the version page (template IDD_PAGE_VERSION). Plain
   defines: the page's resource script includes this file too. */
#pragma once

#define IDC_VERSION_ICON 1046
#define IDC_VERSION_PROGRAM 1047
#define IDC_VERSION_HOOK_LIBRARY 1048
#define IDC_VERSION_DESCRIPTION 1028
