#include "platform/window_class.h"

#include <GL/glx.h>
#include <X11/Xutil.h>

void set_window_class()
{
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (!display || !window) return;
    XClassHint hint;
    hint.res_name = const_cast<char*>(WINDOW_CLASS);
    hint.res_class = const_cast<char*>(WINDOW_CLASS);
    XSetClassHint(display, window, &hint);
    XFlush(display);
}
