// Every picture the program ships, one drawing function per kind.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace artgen {

const QStringList& raceNames();
const QStringList& birthsignNames();
// Display names of the websites of the further-resources step, as listed in
// Data/Websites/websites.ini; each logo is named after one of them.
const QStringList& websiteNames();

QImage drawRace(const QString& race);           // 180 x 220
QImage drawBirthsign(const QString& birthsign); // 180 x 220

QImage drawStatusMark(bool set);   // 16 x 16, red arrow when unset, blue when set
QImage drawLinkCursor();           // 32 x 32, pointing hand with a chain link
QImage drawBubbleBack();           // 256 x 68
QImage drawBubbleArrow(bool down); // 20 x 20

QImage drawSplashLogo();               // 330 x 200
QImage drawWelcomeScene();             // 270 x 180
QImage drawLoaderButton(bool profile); // 120 x 90
QImage drawProgramIcon(int size);

QImage drawWebButton(const QString& site); // 88 x 31; also "default" and "Project TARVO2 Home"

} // namespace artgen
