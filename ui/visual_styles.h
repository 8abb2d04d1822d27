// Whether the program's windows are drawn with visual styles now. Windows turns them off in a
// high-contrast scheme, and the user can turn them off: the system's colours then hold.
#pragma once

bool visual_styles_on();

// Whether the user asked for a high-contrast scheme, whose colours are not to be overridden.
bool high_contrast_on();
