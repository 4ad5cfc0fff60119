// What the desktop the program runs on can do.
#pragma once

namespace tarvo {

// Whether windows with see-through parts are shown as such. On X11 that
// needs a compositing manager; without one the see-through parts are black,
// and a window of any other shape than a rectangle needs a mask.
bool translucentWindowsAvailable();

} // namespace tarvo
