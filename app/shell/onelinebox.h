// One-line text boxes whose text goes into files (names, task texts).
#pragma once

class QLineEdit;

namespace tarvo {

// Makes box take one line: a pasted line break becomes a blank, a NUL
// character is dropped, and the box's length limit never leaves half of a
// character (an emoji cut after its first half) behind.
void makeOneLine(QLineEdit* box);

} // namespace tarvo
