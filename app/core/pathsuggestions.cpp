#include "pathsuggestions.h"

#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "profile.h"

#include <QFile>

namespace tarvo {

QString pathSuggestionFile(const QString& specialization) {
    return appPath(QStringLiteral("Data/paths/") + specialization + QStringLiteral(".ini"));
}

QStringList pathEntries(const QString& file, const QString& prefix) {
    QStringList list;
    if (prefix == QLatin1String("H")) {
        list.append(
            ReadIniValue(QStringLiteral("HTitle"), QStringLiteral("Title0"), QString(), file));
        return list;
    }
    LoadIniSectionToList(list, prefix + QStringLiteral("Title"), file);
    return list;
}

QString pathText(const QString& file, const QString& prefix, const QString& part, int n) {
    return ReadIniValue(prefix + part, part + QString::number(n), QString(), file);
}

QString pathWorkingCopy() {
    return writablePath(QStringLiteral("Data/~pathprofile.mwc"));
}

bool writePathWorkingCopy(const Character& c) {
    return writeProfile(c, pathWorkingCopy(), nullptr, Durability::Working);
}

void removePathWorkingCopy() {
    QFile::remove(pathWorkingCopy());
}

} // namespace tarvo
