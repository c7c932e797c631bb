#pragma once

namespace tovali {

// Takes the context menus away from every text widget of the program
// (entries, password entries, text views, selectable labels): the keyboard
// (Shift+F10, the Menu key) opens none, and neither does the emoji chooser
// shortcut. Right-button presses never reach a widget (the kiosk lock drops
// them). Call once, after GTK has been initialised.
void block_widget_menus();

}  // namespace tovali
