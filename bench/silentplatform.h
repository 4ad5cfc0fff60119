// A platform for benchmarks: every question is answered at once and nothing
// leaves the process.
#pragma once

#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "platform.h"
#include "reftables.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

class SilentPlatform : public tarvo::Platform {
public:
    tarvo::MsgResult message(const QString&, tarvo::MsgButtons, tarvo::MsgIcon,
                             const QString&) override {
        return tarvo::MsgResult::OK;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString fileDialog(const tarvo::FileDialogSpec&) override { return {}; }
    void open(const QString&) override {}
    bool start(const QString&) override { return false; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
    void endProgram() override {}
};

// The program folder a benchmark runs on: its first argument, else the
// staged folder beside the build's bench folder. It becomes AppFolder; empty
// (with a message) when it holds no Data folder.
inline QString benchAppFolder(const QStringList& args) {
    const QString folder = args.size() > 1 && !args[1].isEmpty()
                               ? args[1]
                               : QDir(QApplication::applicationDirPath())
                                     .absoluteFilePath(QStringLiteral("../AppFolder"));
    if (!QDir(folder).exists(QStringLiteral("Data"))) {
        std::fprintf(stderr, "No program folder at %s\n", qPrintable(folder));
        return {};
    }
    tarvo::setAppFolder(folder);
    return folder;
}

// The number of rounds: the second argument, else fallback.
inline int benchRounds(const QStringList& args, int fallback) {
    return args.size() > 2 ? qMax(1, args[2].toInt()) : fallback;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The start-up values the windows read, as the splash sets them.
inline void setBenchGlobals() {
    tarvo::Globals& g = tarvo::globals();
    g.StepTasks = tarvo::stepTasks();
    g.FirstRun = QStringLiteral("No");
    g.ShowAdvancedFeatures = QStringLiteral("No");
}

// A finished Dark Elf spellcaster: the character the output benchmarks
// print, export and publish.
inline void fillSampleCharacter() {
    tarvo::Character& c = tarvo::character();
    c.setRealName(QStringLiteral("First Player"));
    c.setClassName(QStringLiteral("Spellwright"));
    c.chooseClass(1);
    c.setCharacterName(QStringLiteral("Veya Indoril"));
    c.chooseRace(2);
    c.chooseGender(1);
    c.chooseFavAtt1(1);
    c.chooseFavAtt2(2);
    for (const char* s : {"Alchemy", "Destruction", "Mysticism", "Enchant", "Alteration"})
        c.checkSkillByName(true, QString::fromLatin1(s));
    for (const char* s : {"Restoration", "Illusion", "Conjuration", "Sneak", "Short Blade"})
        c.checkSkillByName(false, QString::fromLatin1(s));
    c.chooseBirthsign(2);
}
