// The loader: lists the shipped templates, browses for saved profiles and
// applies the chosen file to the wizard.
#pragma once

#include <QWidget>

namespace tarvo {

class frmLoad : public QWidget {
    Q_OBJECT
public:
    frmLoad();

    // The full path of the file that OK (or the browse timer) applies.
    QString SelectedFile;
};

} // namespace tarvo
