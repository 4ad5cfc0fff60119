// Who and what this program is: its title, maker and version texts.
#pragma once

#include "version.h"

#include <QString>

namespace tarvo {

// The title of every message box and of the main window.
inline const QString kProgramTitle = QStringLiteral("Quenmark v2");
// The maker named in the version information.
inline const QString kCompanyName = QStringLiteral("Quillon");

// "2.0.3": major, minor and revision joined by ".", without leading zeros.
inline QString versionText() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

} // namespace tarvo
