// Base of the pages inside the main window's tab control: hidden children of the tab
// control, switched with activate and deactivate.
#pragma once

#include "ui/window_object.h"

class TabDialog : public WindowObject {
public:
    // The rectangle is in the tab control's client coordinates and is taken as it is.
    TabDialog(HINSTANCE instance, HWND parent, const RECT* rectangle);

    // Makes the page window; a page's own create calls this first, then adds its controls.
    virtual bool create();

    // Both return whether the page was visible before the call.
    bool activate();
    bool deactivate();

protected:
    HINSTANCE page_instance_;
};
