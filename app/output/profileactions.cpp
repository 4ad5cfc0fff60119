#include "profileactions.h"

namespace tarvo {

bool SaveInformation(const QString&) {
    return false;
}
QString GetSaveAsName(const QString&, const QString&) {
    return {};
}
QString GetSaveAsNameTextFile(const QString&, const QString&) {
    return {};
}
void OpenLoaderFor(const QString&) {}

} // namespace tarvo
