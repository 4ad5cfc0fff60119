#include "onlinelinks.h"

#include "appfolder.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "ini/safewrite.h"
#include "platform.h"
#include "settings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace tarvo {

namespace {

const QString kOther = QStringLiteral("iniOther");

QString& favouritesOverride() {
    static QString folder;
    return folder;
}

QString otherPage(const QString& key) {
    return ReadIniValue(kOther, key, QString(), externalLinksFile());
}

// Off Windows a shortcut also keeps the site's name, which its file name
// may have lost: the title of its bookmark.
const QString kShortcutNameSection = QStringLiteral("TARVO2");
const QString kShortcutNameKey = QStringLiteral("SiteName");

QString htmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

// Every shortcut of the folder as one bookmark file, sorted by name.
QByteArray bookmarksOf(const QDir& folder) {
    QByteArray out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                     "<!-- This file is written by TARVO2 from the shortcuts in this folder. -->\n"
                     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                     "<TITLE>Bookmarks</TITLE>\n"
                     "<H1>Bookmarks</H1>\n"
                     "<DL><p>\n"
                     "    <DT><H3>TARVO2 Favourites</H3>\n"
                     "    <DL><p>\n";
    // Hidden ones too: earlier versions made a site named ".x" a hidden file.
    QFileInfoList shortcuts = folder.entryInfoList(
        {QStringLiteral("*.URL"), QStringLiteral("*.url")}, QDir::Files | QDir::Hidden);
    std::sort(shortcuts.begin(), shortcuts.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.completeBaseName().compare(b.completeBaseName(), Qt::CaseInsensitive) < 0;
    });
    for (const QFileInfo& f : shortcuts) {
        const QString url = ReadIniValue(QStringLiteral("InternetShortcut"), QStringLiteral("URL"),
                                         QString(), f.filePath());
        if (url.isEmpty())
            continue;
        // The site's own name where the shortcut keeps it; the file name of
        // one made elsewhere.
        QString title =
            ReadIniValue(kShortcutNameSection, kShortcutNameKey, QString(), f.filePath());
        if (title.isEmpty())
            title = f.completeBaseName();
        out += "        <DT><A HREF=\"" + htmlEscaped(url).toUtf8() + "\" ADD_DATE=\"" +
               QByteArray::number(f.lastModified().toSecsSinceEpoch()) + "\">" +
               htmlEscaped(title).toUtf8() + "</A>\n";
    }
    out += "    </DL><p>\n</DL><p>\n";
    return out;
}

} // namespace

QString websitesFile() {
    return appPath(QStringLiteral("/Data/Websites/websites.ini"));
}

void openHomePage(const QString& domain, const QString& page) {
    const QString trimmed = page.trimmed();
    if (trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
        trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)) {
        platform().open(trimmed);
        return;
    }
    if (domain.trimmed().isEmpty()) {
        msgBox(QStringLiteral("No home web site is set for TARVO2, so this page cannot be "
                              "opened. Set the home web address (iniDomain in section [Program] "
                              "of Data\\Settings.ini) and restart TARVO2."),
               MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    platform().open(domain + page);
}

void openCommunity() {
    openHomePage(globals().Domain, otherPage(QStringLiteral("iniCommunity")));
}

void openSharePage() {
    openHomePage(globals().Domain, otherPage(QStringLiteral("iniShare")));
}

void openPlayGuide(const QString& specialization) {
    openHomePage(globals().Domain, otherPage(QStringLiteral("ini") + specialization));
}

void openStepLink(int index) {
    const QString domain = ReadIniValue(QStringLiteral("Program"), QStringLiteral("iniDomain"),
                                        kHomeDomain, settingsFile());
    const QString page =
        ReadIniValue(QStringLiteral("iniLinks"), QStringLiteral("inilink%1").arg(index), QString(),
                     externalLinksFile());
    openHomePage(domain, page);
}

Website websiteAt(int n, const QString& name) {
    const QString file = websitesFile();
    const QString k = QString::number(n);
    Website w;
    w.name = name;
    w.category = ReadIniValue(QStringLiteral("categories"), QStringLiteral("category") + k,
                              QStringLiteral("Category missing"), file);
    w.description = ReadIniValue(QStringLiteral("descriptions"), QStringLiteral("description") + k,
                                 QStringLiteral("Description missing"), file);
    w.url = ReadIniValue(QStringLiteral("urls"), QStringLiteral("Url") + k, QString(), file);
    return w;
}

QString websiteLogo(const QString& name) {
    for (const QString& candidate : {name + QStringLiteral(".JPG"), name + QStringLiteral(".GIF"),
                                     QStringLiteral("default.GIF")}) {
        if (candidate.contains(QLatin1Char('/')) || candidate.contains(QLatin1Char('\\')))
            continue;
        const QString path = appPath(QStringLiteral("/Data/Websites/") + candidate);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString favouritesFolder() {
    if (!favouritesOverride().isEmpty())
        return favouritesOverride();
#ifdef Q_OS_WIN
    return QDir::homePath() + QStringLiteral("/Favorites");
#else
    // The user's own TARVO2 folder, the one an installed copy keeps its files
    // in, whichever way the program runs.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/TARVO2/Favourites");
#endif
}

void setFavouritesFolder(const QString& folder) {
    favouritesOverride() = folder;
}

QString safeFileName(const QString& name) {
    QString out;
    for (const QChar c : name.trimmed())
        out +=
            (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c)) ? QLatin1Char('_') : c;
    while (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    // A name that starts with "." would be a hidden file.
    for (qsizetype i = 0; i < out.size() && out[i] == QLatin1Char('.'); ++i)
        out[i] = QLatin1Char('_');
    out = out.left(120);
    if (out.isEmpty())
        out = QStringLiteral("Website");
    static const QStringList reserved = {QStringLiteral("CON"), QStringLiteral("PRN"),
                                         QStringLiteral("AUX"), QStringLiteral("NUL")};
    const QString stem = out.section(QLatin1Char('.'), 0, 0).toUpper();
    if (reserved.contains(stem) ||
        ((stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT"))) &&
         stem.size() == 4 && stem[3].isDigit()))
        out += QLatin1Char('_');
    return out;
}

FavouriteResult AddFavorite(const QString& siteName, const QString& url) {
    const QString folder = QDir::cleanPath(favouritesFolder());
    const QString shown = QDir::toNativeSeparators(folder);
#ifdef Q_OS_WIN
    if (!QFileInfo(folder).isDir())
        return {false, QStringLiteral("\"%1\" could not be added to your favourites: the "
                                      "Favourites folder %2 was not found.")
                           .arg(siteName, shown)};
#else
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("\"%1\" could not be added to your favourites: the folder "
                                      "%2 could not be made.")
                           .arg(siteName, shown)};
#endif
    const QString file =
        folder + QLatin1Char('/') + safeFileName(siteName) + QStringLiteral(".URL");
    QString failure;
    QByteArray shortcut = "[InternetShortcut]\r\nURL=" + url.toUtf8() + "\r\n";
#ifndef Q_OS_WIN
    if (isStorableIniValue(siteName))
        shortcut += "[" + kShortcutNameSection.toUtf8() + "]\r\n" + kShortcutNameKey.toUtf8() +
                    "=" + iniValueBytes(siteName) + "\r\n";
#endif
    if (!replaceFileContents(file, shortcut, Durability::Durable, &failure))
        return {false, QStringLiteral("\"%1\" could not be added to your favourites: %2: %3")
                           .arg(siteName, QDir::toNativeSeparators(file), failure)};
#ifdef Q_OS_WIN
    return {true, QStringLiteral("\"%1\" was added to your favourites as %2.")
                      .arg(siteName, QDir::toNativeSeparators(file))};
#else
    const QString bookmarks = folder + QStringLiteral("/bookmarks.html");
    if (!replaceFileContents(bookmarks, bookmarksOf(QDir(folder)), Durability::Durable, &failure))
        return {false,
                QStringLiteral("\"%1\" was added to your favourites as %2, but the bookmark file "
                               "%3 could not be written: %4")
                    .arg(siteName, QDir::toNativeSeparators(file),
                         QDir::toNativeSeparators(bookmarks), failure)};
    return {true, QStringLiteral("\"%1\" was added to your favourites as %2. Your web browser can "
                                 "import all of them from %3 (its Import Bookmarks command, HTML "
                                 "file).")
                      .arg(siteName, QDir::toNativeSeparators(file),
                           QDir::toNativeSeparators(bookmarks))};
#endif
}

} // namespace tarvo
