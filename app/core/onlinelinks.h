// The program's links to the web: pages of the home web site (Domain
// followed by a page name from "Data/Websites/external links.ini"), the list
// of related websites, and the user's favourites.
#pragma once

#include <QString>

namespace tarvo {

// The home web address used when the settings name none (the step links).
inline const QString kHomeDomain = QStringLiteral("https://en.uesp.net/wiki/");

QString websitesFile();

// Opens domain followed by page in the browser; a page that is a whole web
// address (a community elsewhere) is opened as it stands. Without a domain
// no other address can be made: the user is told that no home web site is
// set instead.
void openHomePage(const QString& domain, const QString& page);
// The pages of section iniOther of the link file under Domain: Community,
// Share now! and the Play guide of a specialization ("Combat"...). A missing
// key opens the home page itself.
void openCommunity();
void openSharePage();
void openPlayGuide(const QString& specialization);
// The "External Link Avaliable" label of a step (0 to 4): the home address is
// read afresh from the settings file.
void openStepLink(int index);

// One site of the website list; missing texts read as their defaults.
struct Website {
    QString name;
    QString category;
    QString description;
    // Empty when the list gives none.
    QString url;
};
Website websiteAt(int n, const QString& name);
// The logo to show for a site: its JPG, else its GIF, else "default.GIF";
// empty when there is none.
QString websiteLogo(const QString& name);

// The folder that holds the user's favourites: the browser's Favourites
// folder on Windows, else "Favourites" in the user's own data folder.
QString favouritesFolder();
// Points the favourites elsewhere (tests); empty restores the default.
void setFavouritesFolder(const QString& folder);
// A site name made into a valid file name, never a hidden one ("A/B: C?" ->
// "A_B_ C_", ".org" -> "_org").
QString safeFileName(const QString& name);

struct FavouriteResult {
    bool ok = false;
    // Where the shortcut went, or why it could not be written.
    QString message;
};
// Writes the Internet shortcut SiteName.URL for URL into the favourites
// folder; off Windows the shortcut also keeps the site's name, and the
// folder keeps bookmarks.html, every shortcut of it under its site's name in
// the bookmark format that every browser imports.
FavouriteResult AddFavorite(const QString& siteName, const QString& url);

} // namespace tarvo
