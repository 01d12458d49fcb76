// Menu item helpers shared by every menu that shows pictures or a default item.
#pragma once

#include <windows.h>

// Shows a picture of the menu strip beside the item (drawn on WM_DRAWITEM).
bool setItemPicture(HMENU menu, UINT command, int picture);
// Shows the item in bold as the default choice.
bool setDefaultItem(HMENU menu, UINT command);
