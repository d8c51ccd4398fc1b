/* The controls of the class-name pages (template IDD_PAGE_CLASSES), the add
   and the remove conditions' alike. Plain defines: the page's resource
   script includes this file too. */
#pragma once

#define IDC_CLASSES_ENABLED 1012
#define IDC_CLASSES_LIST 1035
#define IDC_CLASSES_ADD 1002
#define IDC_CLASSES_DELETE 1003
