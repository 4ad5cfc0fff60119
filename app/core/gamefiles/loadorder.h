// Which content files the player's game loads, and in which order.
//
// The original game: the files Morrowind.ini lists under [Game Files]
// (GameFile0=, GameFile1=, ...), found in the game's "Data Files" folder;
// masters (.esm) load before plugins (.esp), each group oldest file first.
//
// OpenMW: the content= lines of openmw.cfg in their order, each found in the
// data= folders (a later folder wins when two hold the same file name; names
// match without regard to letter case). config= lines add the openmw.cfg of
// another folder after this one, replace=content and replace=data drop what
// came before, and the tokens ?userconfig?, ?userdata?, ?local? and ?global?
// stand for OpenMW's folders. Its texts are Windows-1252 unless encoding=
// says win1250 or win1251.
#pragma once

#include "gamefiles/contentfile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarvo::gamefiles {

struct LoadOrderEntry {
    QString name; // as the configuration lists it
    QString path; // the file found, empty when it is missing
    QDateTime modified;
    bool found() const { return !path.isEmpty(); }
    bool isMaster() const; // by its extension, as the original game decides
};

struct LoadOrder {
    enum class Kind { MorrowindIni, OpenMWConfig };
    Kind kind = Kind::MorrowindIni;
    QString configFile;      // the Morrowind.ini or openmw.cfg read
    QStringList dataFolders; // where the files were looked for, lowest priority first
    Encoding encoding = Encoding::Windows1252;
    // Every listed file in load order. The original game places a missing
    // file nowhere; it is listed after the files of its group.
    QList<LoadOrderEntry> files;
    QStringList problems; // what kept the list from being read whole
    QStringList missing() const;
};

// OpenMW's own folders, for its tokens and to find its configuration.
struct OpenMWFolders {
    QString userConfig; // ?userconfig?: where the user's openmw.cfg lives
    QString userData;   // ?userdata?
    QString global;     // ?global?: the installed engine's data
    // The usual folders for a home folder on this system.
    static OpenMWFolders forHome(const QString& home);
};

// The game folder (the one that holds Morrowind.ini and "Data Files").
LoadOrder morrowindLoadOrder(const QString& gameFolder);
// An openmw.cfg file. ?local? stands for the folder it lies in.
LoadOrder openmwLoadOrder(const QString& configFile, const OpenMWFolders& folders);
// Either of the two, by what path names: an openmw.cfg (or a folder holding
// one and no Morrowind.ini), a Morrowind.ini or a game folder.
LoadOrder loadOrderFor(const QString& path, const OpenMWFolders& folders);

} // namespace tarvo::gamefiles
