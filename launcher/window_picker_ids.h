/* The window picker's template and controls. Plain defines: its resource
   script includes this file too. */
#pragma once

#define IDD_WINDOW_PICKER 122
#define IDC_PICKER_CLASS 1028
#define IDC_PICKER_WINDOWS 1035
