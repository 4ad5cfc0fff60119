// The about window: the program's version, its logo and one of three texts
// of the help folder (for individuals, for businesses, the disclaimer).
#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace tarvo {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // The one about window, loaded when needed.
    static frmAbout* instance();
    static frmAbout* ifLoaded();

    // Shows text index (0 Individuals, 1 Business, 2 Disclaimer) as a click
    // on its option does.
    void chooseText(int index);

    void done(int result) override;

private:
    frmAbout();
    void optNav_Click(int index);

    std::array<QRadioButton*, 3> m_optNav{};
    QPlainTextEdit* m_txtAbout = nullptr;
    bool m_unloaded = false;
};

// Shows the about window on text index and brings it forward.
void showAboutWindow(int index);

} // namespace tarvo
