// The notification area as Wine's explorer shows it on a display with no desktop window of its
// own: a "Wine System Tray" window with one child window per icon. Each icon has a tooltip
// window, owned by the tray, whose tool is the icon's window and whose text is the icon's tip;
// a notification is a balloon tooltip with the same tool. Read and clicked from outside, as a
// user would; Wine sends the icon's owner NIN_SELECT for a left click and WM_CONTEXTMENU for a
// right one, never NIN_KEYSELECT nor NIN_BALLOONUSERCLICK.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The icons' windows, in the order the tray shows them.
std::vector<HWND> tray_icons();
// The tip of the one icon there is; empty when there is none.
std::string only_tray_tip();
// The text of the notification shown now; empty when none is.
std::string tray_balloon();
// A click on the icon, its button pressed and let go.
void click_tray_icon(HWND icon, bool right_button = false);
