// Step eight's Copy and Save as File: the pop-up menus mnuCopy and mnuFile,
// the plain copy, the text file, and the routes to the formatting, options
// and HTML windows.
#pragma once

#include <QString>

class QPushButton;

namespace tarvo {

class frmMain;

// Makes the main window's pop-up menus and its hidden txtDataCompiler, and
// lets cmdSave and cmdCopy open their menu right under them.
void buildTextOutput(frmMain* main, QPushButton* cmdSave, QPushButton* cmdCopy);

// Puts text on the clipboard, shows warning (when there is one) and tells
// the user ("Data copied"), and removes Data/ClipboardData.txt.
void sendProfileToClipboard(const QString& text, const QString& warning = {});

// "No formatting (plain text)".
void copyPlainText();
// "Text File": asks for a name and writes the plain text there; a file that
// cannot be written is named in a message and left as it was.
void saveTextFile();

// Closes the formatting, options, about and HTML windows (program end,
// tests).
void unloadTextOutputWindows();

} // namespace tarvo
