// Step nine of the wizard, further resources: the website list with its
// category, description and logo, Open, Favourites and Share now!
#pragma once

namespace tarvo {

class frmMain;

// Connects the step's controls (found by name in the window).
void wireFurtherResources(frmMain* w);

} // namespace tarvo
