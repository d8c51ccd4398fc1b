/* The controls of the split bar page (template IDD_PAGE_SPLITBAR). Plain
   defines: the page's resource script includes this file too. */
#pragma once

#define IDC_SPLITBAR_RIGHT_BUTTON 1012
#define IDC_SPLITBAR_GRIP 1028
#define IDC_SPLITBAR_GRIP_SPIN 1029
