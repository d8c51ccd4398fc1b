// The small dialog "追加するメニューアイテム" that both menu pages' add
// buttons open: the commands in a sorted list, a button for a separator,
// and cancel.
#pragma once

#include <windows.h>

// Runs the chooser modally, owned by owner: the chosen command's code, -1
// for a separator, -2 when nothing is to be added (cancel, the close box,
// or a chooser that could not open).
int ChooseMenuItem(HWND owner);
