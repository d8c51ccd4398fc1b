/* The controls of the settings page "タブ" (template 101). Plain defines:
   its resource script includes this file too. */
#pragma once

/* "位置": one radio button per side */
#define IDC_TAB_POS_TOP 1006
#define IDC_TAB_POS_BOTTOM 1007
#define IDC_TAB_POS_LEFT 1008
#define IDC_TAB_POS_RIGHT 1009
/* "複数行" */
#define IDC_TAB_MULTILINE_ON 1010
#define IDC_TAB_MULTILINE_OFF 1011
/* "項目の文字数" */
#define IDC_TAB_TEXT_LENGTH 1028
#define IDC_TAB_TEXT_LENGTH_SPIN 1029
#define IDC_TAB_HOTTRACK 1012
#define IDC_TAB_FIXED_WIDTH 1013
/* "サイズ(X)", the width of a tab while 1013 is checked */
#define IDC_TAB_WIDTH 1030
#define IDC_TAB_WIDTH_SPIN 1031
#define IDC_TAB_ICONS 1014
#define IDC_TAB_DROP_TO_ACTIVE 1015
#define IDC_TAB_DROP_TO_ALL 1016
#define IDC_TAB_DRAG_SWAP 1017
