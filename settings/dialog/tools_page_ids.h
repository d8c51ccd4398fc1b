/* The controls of the tools page (template IDD_PAGE_TOOLS). Plain defines:
   the page's resource script includes this file too. */
#pragma once

#define IDC_TOOLS_FOLDER 1028
#define IDC_TOOLS_FOUND 1035
#define IDC_TOOLS_REGISTERED 1036
#define IDC_TOOLS_REGISTER 1002
#define IDC_TOOLS_UNREGISTER 1003
