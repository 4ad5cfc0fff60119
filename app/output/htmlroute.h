// The way from the other windows to the HTML output wizard.
#pragma once

class QWidget;

namespace tarvo {

// Opens the HTML output wizard for the current character; from is the window
// that asks (the wizard's windows give way to it).
void openHtmlOutput(QWidget* from);

} // namespace tarvo
