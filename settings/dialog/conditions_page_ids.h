/* The controls of the page "追加・排除条件" (template IDD_PAGE_CONDITIONS).
   Plain defines: the page's resource script includes this file too. */
#pragma once

#define IDC_CONDITIONS_ADD_FIRST 1006
#define IDC_CONDITIONS_REMOVE_FIRST 1007
