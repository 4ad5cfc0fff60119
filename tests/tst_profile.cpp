// Profile files: what a save writes (byte for byte), what a load restores,
// how odd and hostile files are read or refused, and the save command with
// its dialogs and failures.
#include "appfolder.h"
#include "character.h"
#include "ini/mdlVbNetIni.h"
#include "output/profileactions.h"
#include "profile.h"
#include "reftables.h"
#include "samplecharacter.h"
#include "scriptedplatform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

// Everything the windows show of the character.
struct State {
    QStringList fields;
    QStringList major, minor;
    QVector<SkillItem> majorList, minorList;
    QStringList review, summary;
    QList<bool> marks;
    QList<int> options;
    QStringList taskTexts;
    QList<int> taskStates;
    QString changesMade;
    bool operator==(const State&) const = default;
};

State capture() {
    const Character& c = character();
    State s;
    s.fields = {c.RealName(), c.ClassName(), c.Class(),   c.CharacterName(), c.Race(),
                c.Gender(),   c.FavAtt1(),   c.FavAtt2(), c.Birthsign()};
    s.major = c.majorSkills();
    s.minor = c.minorSkills();
    s.majorList = c.skillList(true);
    s.minorList = c.skillList(false);
    for (int i = 0; i < Character::LineCount; ++i) {
        s.review << c.reviewLine(i);
        s.marks << c.markBlue(i);
    }
    for (int i = 0; i < Character::SumCount; ++i)
        s.summary << c.summary(i);
    for (int g = Character::GroupClass; g <= Character::GroupBirthsign; ++g)
        s.options << c.checkedOption(Character::Group(g));
    for (int i = 0; i < Character::kTaskBoxes; ++i) {
        if (i < Character::kTaskCount)
            s.taskTexts << c.taskText(i);
        s.taskStates << c.taskState(i);
    }
    s.changesMade = c.ChangesMade();
    return s;
}

// A finished character with tasks: skills ticked out of list order.
void buildFullCharacter() {
    Character& c = character();
    c.chooseGender(0);
    tarvo::test::buildSampleCharacter();
    const QStringList tasks = {"Join the Mages Guild",  "Find a good staff", "", "Visit Vivec", "",
                               "Learn Mark and Recall", "Buy a house"};
    for (int i = 0; i < tasks.size(); ++i)
        c.setTaskText(i, tasks[i]);
    c.setTaskState(0, 1);
    c.setTaskState(1, 2);
    c.setTaskState(3, 0);
    c.setTaskState(5, 1);
    c.setTaskState(7, 1);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// What deleting the file and writing every key one at a time gives.
QByteArray keyByKey(const QString& file, const QString& date) {
    const Character& c = character();
    QFile::remove(file);
    WriteIniValue("SaveData", "iniDate", date, file);
    WriteIniValue("One", "iniRealName", c.RealName(), file);
    WriteIniValue("Two", "iniClass", c.Class(), file);
    WriteIniValue("Two", "iniClassName", c.ClassName(), file);
    WriteIniValue("Three", "iniCharacterName", c.CharacterName(), file);
    WriteIniValue("Three", "iniRace", c.Race(), file);
    WriteIniValue("Three", "iniGender", c.Gender(), file);
    WriteIniValue("Four", "iniFavAtt1", c.FavAtt1(), file);
    WriteIniValue("Four", "iniFavAtt2", c.FavAtt2(), file);
    DeleteIniSection("FiveA", file);
    for (int i = 0; i < c.majorSkills().size(); ++i)
        WriteIniValue("FiveA", QString("iniMjrSkill%1").arg(i + 1), c.majorSkills()[i], file);
    DeleteIniSection("FiveB", file);
    for (int i = 0; i < c.minorSkills().size(); ++i)
        WriteIniValue("FiveB", QString("iniMnrSkill%1").arg(i + 1), c.minorSkills()[i], file);
    WriteIniValue("Six", "iniBirthsign", c.Birthsign(), file);
    for (int n = 0; n < 8; ++n) {
        WriteIniValue("Tasks", QString("iniCheckTask%1").arg(n), QString::number(c.taskState(n)),
                      file);
        if (n < 7)
            WriteIniValue("Tasks", QString("iniTaskName%1").arg(n), c.taskText(n), file);
    }
    return readAll(file);
}

QStringList keysOf(const QByteArray& bytes, const QByteArray& section) {
    QStringList keys;
    bool in = false;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.startsWith('['))
            in = l == '[' + section + ']';
        else if (in && l.contains('='))
            keys << QString::fromUtf8(l.left(l.indexOf('=')));
    }
    return keys;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        m_app = std::make_unique<TempAppFolder>();
        QVERIFY(m_dir.isValid());
    }
    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        character().chooseGender(0); // as the main window does when it loads
    }
    void cleanup() { m_platform.reset(); }

    // ---------------------------------------------------------- writing --

    void savedFileHasTheExactLayout() {
        Character& c = character();
        c.setRealName("Ada");
        c.setClassName("Spellwright");
        c.chooseClass(1);
        c.chooseRace(races().indexOf("Breton"));
        c.chooseFavAtt1(1);
        c.checkSkillByName(true, "Destruction");
        c.checkSkillByName(true, "Alchemy");
        c.checkSkillByName(false, "Sneak");
        c.setTaskText(0, "Sell loot");
        c.setTaskState(0, 1);
        c.setTaskState(7, 1);
        const QByteArray expected = "[SaveData]\r\n"
                                    "iniDate=1/2/03 4:05 AM\r\n"
                                    "[One]\r\n"
                                    "iniRealName=Ada\r\n"
                                    "[Two]\r\n"
                                    "iniClass=Magic\r\n"
                                    "iniClassName=Spellwright\r\n"
                                    "[Three]\r\n"
                                    "iniCharacterName=\r\n"
                                    "iniRace=Breton\r\n"
                                    "iniGender=Male\r\n"
                                    "[Four]\r\n"
                                    "iniFavAtt1=Intelligence\r\n"
                                    "iniFavAtt2=\r\n"
                                    "[FiveA]\r\n"
                                    "iniMjrSkill1=Destruction\r\n"
                                    "iniMjrSkill2=Alchemy\r\n"
                                    "[FiveB]\r\n"
                                    "iniMnrSkill1=Sneak\r\n"
                                    "[Six]\r\n"
                                    "iniBirthsign=\r\n"
                                    "[Tasks]\r\n"
                                    "iniCheckTask0=1\r\n"
                                    "iniTaskName0=Sell loot\r\n"
                                    "iniCheckTask1=0\r\n"
                                    "iniTaskName1=\r\n"
                                    "iniCheckTask2=0\r\n"
                                    "iniTaskName2=\r\n"
                                    "iniCheckTask3=0\r\n"
                                    "iniTaskName3=\r\n"
                                    "iniCheckTask4=0\r\n"
                                    "iniTaskName4=\r\n"
                                    "iniCheckTask5=0\r\n"
                                    "iniTaskName5=\r\n"
                                    "iniCheckTask6=0\r\n"
                                    "iniTaskName6=\r\n"
                                    "iniCheckTask7=1\r\n";
        QCOMPARE(composeProfile(c, "1/2/03 4:05 AM"), expected);
    }

    void savedFileEqualsKeyByKeyWriting() {
        buildFullCharacter();
        const QString file = path("full.mwc");
        QVERIFY(writeProfile(character(), file));
        const QByteArray written = readAll(file);
        const QString date = ReadIniValue("SaveData", "iniDate", "?", file);
        QVERIFY(!date.isEmpty() && date != "?");
        QCOMPARE(written, keyByKey(path("reference.mwc"), date));

        // The Tasks section always has fifteen keys in alternating order.
        const QStringList tasks = keysOf(written, "Tasks");
        QCOMPARE(tasks.size(), 15);
        QCOMPARE(tasks.first(), QString("iniCheckTask0"));
        QCOMPARE(tasks[1], QString("iniTaskName0"));
        QCOMPARE(tasks.last(), QString("iniCheckTask7"));
        // Every line ends in CR LF.
        QCOMPARE(written.count("\r\n"), written.count('\n'));
        QVERIFY(written.endsWith("\r\n"));
        QCOMPARE(keysOf(written, "FiveA").size(), 5);
    }

    void emptySkillListsLeaveTheirSectionsOut() {
        character().setRealName("Nobody");
        const QByteArray bytes = composeProfile(character(), "d");
        QVERIFY(!bytes.contains("[FiveA]"));
        QVERIFY(!bytes.contains("[FiveB]"));
        QCOMPARE(bytes, keyByKey(path("empty-ref.mwc"), "d"));
    }

    void oddTextsStillMatchKeyByKeyWriting() {
        // Quotes, non-ASCII letters and blanks at either end.
        Character& c = character();
        c.setRealName("Åsa \"the\" Bold");
        c.setClassName("\"Quoted\"");
        c.setTaskText(3, " padded ");
        c.checkSkillByName(true, "Block");
        QCOMPARE(composeProfile(c, "when"), keyByKey(path("odd-ref.mwc"), "when"));
    }

    void textsThatCannotStayOnTheirLineAreRefused() {
        // A pasted "Bob", line break, "[FiveA]", ... would load back as a
        // major skill: no such profile is written, the old file stays.
        const QString file = path("linebreak.mwc");
        writeBytes(file, "[One]\r\niniRealName=Old\r\n");
        character().setRealName("Bob\n[FiveA]\niniMjrSkill1=Block");
        QString why;
        QVERIFY(!writeProfile(character(), file, &why));
        QVERIFY2(why.contains("line break"), qPrintable(why));
        character().setRealName("Bob");
        character().setTaskText(2, QString("nul") + QChar(0) + "char");
        QVERIFY(!writeProfile(character(), file, &why));
        QCOMPARE(why, QString("the text of task 3 holds a NUL character (an invisible control "
                              "character), which a profile cannot store. Type it again."));
        QCOMPARE(readAll(file), QByteArray("[One]\r\niniRealName=Old\r\n"));
    }

    void everyTextComesBackAsTyped() {
        // Blanks at either end, quotes around the whole, more than the
        // typing limit, an emoji at the limit, a task of blanks only.
        Character& c = character();
        const QString longName = QString(39, 'a') + QString::fromUtf8("\U0001F600") + "bcdef";
        c.setRealName("  Ada  ");
        c.setClassName("\"Spellwright\"");
        c.setCharacterName(longName);
        c.setTaskText(0, "   ");
        c.setTaskState(0, 1);
        c.setTaskText(1, "'single'");
        const State saved = capture();
        const QString file = path("astyped.mwc");
        QVERIFY(writeProfile(c, file));
        c.reset();
        QVERIFY(applyProfile(c, file).ok());
        QCOMPARE(c.RealName(), QString("  Ada  "));
        QCOMPARE(c.ClassName(), QString("\"Spellwright\""));
        QCOMPARE(c.CharacterName(), longName);
        QCOMPARE(capture().taskTexts, saved.taskTexts);
        QCOMPARE(c.taskState(0), 1);
    }

    void oneAttributeIsNeverBothFavourites() {
        const QString file = path("samefav.mwc");
        writeBytes(file, "[Four]\r\niniFavAtt1=Luck\r\niniFavAtt2=Luck\r\n");
        QVERIFY(applyProfile(character(), file).ok());
        QCOMPARE(character().FavAtt1(), QString("Luck"));
        QCOMPARE(character().FavAtt2(), QString());
        QCOMPARE(character().checkedOption(Character::GroupFavAtt2), -1);
    }

    void userPickedNamesAreTakenAsTheyStand() {
        // A backslash is an ordinary character in a name the user picks.
        buildFullCharacter();
        const QString file = path("back\\slash.mwc");
        QVERIFY(writeProfile(character(), file));
        QVERIFY(QFileInfo::exists(file));
        QVERIFY(!QFileInfo::exists(path("back")));
        character().reset();
        QVERIFY(applyProfile(character(), file).ok());
        QCOMPARE(character().RealName(), QString("Ada"));

        // Messages name the real reason.
        QString why;
        QVERIFY(QFile::link(path("loopA.mwc"), path("loopB.mwc")));
        QVERIFY(QFile::link(path("loopB.mwc"), path("loopA.mwc")));
        QVERIFY(!writeProfile(character(), path("loopA.mwc"), &why));
        QVERIFY2(why.contains("loop"), qPrintable(why));
        QVERIFY(applyProfile(character(), path("loopA.mwc")).reason.contains("loop"));
#ifdef Q_OS_LINUX
        QCOMPARE(QProcess::execute("mkfifo", {path("fifo.mwc")}), 0);
        QVERIFY(!writeProfile(character(), path("fifo.mwc"), &why));
        QVERIFY2(why.contains("not a regular file"), qPrintable(why));
        QVERIFY(applyProfile(character(), path("fifo.mwc")).reason.contains("not a regular file"));
#endif
    }

    void savingOverALongerProfileLeavesNoStaleKey() {
        const QString file = path("shrink.mwc");
        buildFullCharacter();
        character().setTaskText(6, "A long task text that will go away");
        QVERIFY(writeProfile(character(), file));
        character().reset();
        character().chooseGender(0);
        for (const char* s : {"Block", "Spear", "Axe"})
            character().checkSkillByName(true, s);
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                           QFile::WriteUser | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(file, perms));
        QVERIFY(writeProfile(character(), file));
        const QByteArray bytes = readAll(file);
        // The file keeps its permissions; nothing is left beside it.
        QCOMPARE(QFile::permissions(file), perms);
        QCOMPARE(
            QDir(m_dir.path()).entryList({"*shrink*"}, QDir::Files | QDir::Hidden | QDir::System),
            QStringList{"shrink.mwc"});
        QCOMPARE(keysOf(bytes, "FiveA"),
                 (QStringList{"iniMjrSkill1", "iniMjrSkill2", "iniMjrSkill3"}));
        QVERIFY(!bytes.contains("iniMjrSkill4"));
        QVERIFY(!bytes.contains("[FiveB]"));
        QVERIFY(!bytes.contains("A long task text"));
        QVERIFY(!bytes.contains("Veya"));
        QVERIFY(!QFile::exists(file + ".lock"));
    }

    void failedWritesLeaveTheOldFile() {
        buildFullCharacter();
        QString why;

        // A read-only file (no write permission bits), even for root.
        const QString ro = path("readonly.mwc");
        writeBytes(ro, "[One]\r\niniRealName=Old\r\n");
        QVERIFY(QFile::setPermissions(ro, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(!writeProfile(character(), ro, &why));
        QCOMPARE(why, QString("the file is read-only."));
        QCOMPARE(readAll(ro), QByteArray("[One]\r\niniRealName=Old\r\n"));

        // A folder that does not exist (any more).
        why.clear();
        QVERIFY(!writeProfile(character(), path("gone/away/p.mwc"), &why));
        QVERIFY2(why.contains("does not exist"), qPrintable(why));
        QVERIFY(!QFile::exists(path("gone")));

        // A folder where the file should be.
        QVERIFY(QDir().mkpath(path("inTheWay.mwc")));
        why.clear();
        QVERIFY(!writeProfile(character(), path("inTheWay.mwc"), &why));
        QVERIFY2(why.contains("folder"), qPrintable(why));
        QVERIFY(QFileInfo(path("inTheWay.mwc")).isDir());
    }

    // ---------------------------------------------------------- reading --

    void roundTripRestoresEverything() {
        buildFullCharacter();
        const State saved = capture();
        const QString file = path("roundtrip.mwc");
        QVERIFY(writeProfile(character(), file));

        character().reset();
        character().chooseGender(0);
        QVERIFY(applyProfile(character(), file).ok());
        const State loaded = capture();
        QCOMPARE(loaded.fields, saved.fields);
        QCOMPARE(loaded.major, saved.major); // hidden lists, in tick order
        QCOMPARE(loaded.minor, saved.minor);
        QCOMPARE(loaded.majorList, saved.majorList);
        QCOMPARE(loaded.minorList, saved.minorList);
        QCOMPARE(loaded.review, saved.review);
        QCOMPARE(loaded.summary, saved.summary);
        QCOMPARE(loaded.marks, saved.marks);
        QCOMPARE(loaded.options, saved.options);
        QCOMPARE(loaded.taskTexts, saved.taskTexts);
        QCOMPARE(loaded.taskStates, saved.taskStates);
    }

    void loadingOverAnotherCharacterReplacesIt() {
        // The file's major skill Sneak is a ticked minor skill of the
        // character on show, so it is missing from the major list until the
        // minor list is cleared.
        buildFullCharacter();
        const QString file = path("over.mwc");
        writeBytes(file, "[Two]\r\niniClass=Stealth\r\n"
                         "[FiveA]\r\niniMjrSkill1=Speechcraft\r\niniMjrSkill2=Security\r\n"
                         "[FiveB]\r\niniMnrSkill1=Destruction\r\n");
        QVERIFY(applyProfile(character(), file).ok());
        const Character& c = character();
        QCOMPARE(c.majorSkills(), (QStringList{"Speechcraft", "Security"}));
        QCOMPARE(c.minorSkills(), QStringList{"Destruction"});
        QCOMPARE(c.checkedCount(true), 2);
        QCOMPARE(c.checkedCount(false), 1);
        QCOMPARE(c.skillList(true).size() + c.skillList(false).size(), 27 * 2 - 3);
        QCOMPARE(c.Class(), QString("Stealth"));
        QCOMPARE(c.RealName(), QString());
        QCOMPARE(c.Race(), QString());
        QCOMPARE(c.checkedOption(Character::GroupRace), -1);
        QCOMPARE(c.reviewLine(Character::LineRace), QString("Race: "));
        QVERIFY(!c.markBlue(Character::LineRace));
        QCOMPARE(c.taskText(0), QString());
        QCOMPARE(c.taskState(7), 0);
    }

    void earlierWindowsFileLoads() {
        const QString file = path("old.MWC");
        writeBytes(file, "; saved by an earlier version\r\n"
                         "[SaveData]\r\niniDate=01/06/2004 21:14:03\r\n\r\n"
                         "[ONE]\r\nINIREALNAME = \"Ren\xE9"
                         "e\"\r\nextra=1\r\n\r\n"
                         "[two]\r\niniclass='Stealth'\r\nIniClassName=  Cutpurse  \r\n\r\n"
                         "[Three]\r\nINICHARACTERNAME=S\xF8ren\r\niniRACE=Khajit\r\n"
                         "inigender=\"Female\"\r\n\r\n"
                         "[Unrelated]\r\niniRace=Nord\r\n\r\n"
                         "[four]\r\ninifavatt1=Agility\r\nINIFAVATT2=Speed\r\n"
                         "[fivea]\r\nINIMJRSKILL1=Sneak\r\ninimjrskill2=\"Security\"\r\n"
                         "[FIVEB]\r\ninimnrskill1=Acrobatics\r\n"
                         "[SIX]\r\niniBIRTHSIGN=The Thief\r\n"
                         "[TASKS]\r\ninichecktask0=1\r\ninitaskname0=Steal the \x93"
                         "crown\x94\r\n"
                         "INICHECKTASK7=1\r\n");
        QVERIFY(applyProfile(character(), file).ok());
        const Character& c = character();
        QCOMPARE(c.RealName(), QString::fromUtf8("Renée"));
        QCOMPARE(c.Class(), QString("Stealth"));
        QCOMPARE(c.ClassName(), QString("Cutpurse"));
        QCOMPARE(c.CharacterName(), QString::fromUtf8("Søren"));
        QCOMPARE(c.Race(), QString("Khajit"));
        QCOMPARE(c.Gender(), QString("Female"));
        QCOMPARE(c.checkedOption(Character::GroupGender), 1);
        QCOMPARE(c.FavAtt1(), QString("Agility"));
        QCOMPARE(c.FavAtt2(), QString("Speed"));
        QCOMPARE(c.majorSkills(), (QStringList{"Sneak", "Security"}));
        QCOMPARE(c.minorSkills(), QStringList{"Acrobatics"});
        QCOMPARE(c.Birthsign(), QString("The Thief"));
        QCOMPARE(c.taskText(0), QString::fromUtf8("Steal the “crown”"));
        QCOMPARE(c.taskState(0), 1);
        QCOMPARE(c.taskState(7), 1);
        QCOMPARE(c.summary(Character::SumRealName), QString::fromUtf8("Name: Renée"));
    }

    void unknownValuesLeaveTheirGroupUnset() {
        buildFullCharacter();
        const QString file = path("bad.mwc");
        writeBytes(file, "[One]\r\niniRealName=Ada\r\n"
                         "[Two]\r\niniClass=combat\r\niniClassName=Odd\r\n"
                         "[Three]\r\niniRace=Elf\r\niniGender=female\r\n"
                         "[Four]\r\niniFavAtt1=Strength \r\niniFavAtt2=Might\r\n"
                         "[FiveA]\r\niniMjrSkill1=Swimming\r\niniMjrSkill2=Axe\r\n"
                         "iniMjrSkill3=axe\r\n"
                         "[FiveB]\r\niniMnrSkill1=Spear\r\n"
                         "[Six]\r\niniBirthsign=The Moon\r\n"
                         "[Tasks]\r\niniTaskName0=Still here\r\n");
        QVERIFY(applyProfile(character(), file).ok());
        const Character& c = character();
        QCOMPARE(c.Class(), QString());
        QCOMPARE(c.checkedOption(Character::GroupClass), -1);
        QCOMPARE(c.Race(), QString());
        QCOMPARE(c.checkedOption(Character::GroupRace), -1);
        QCOMPARE(c.Gender(), QString("Male"));      // only "Female" exactly picks Female
        QCOMPARE(c.FavAtt1(), QString("Strength")); // white space is trimmed on reading
        QCOMPARE(c.FavAtt2(), QString());
        QCOMPARE(c.checkedOption(Character::GroupFavAtt2), -1);
        QCOMPARE(c.majorSkills(), QStringList{"Axe"});
        QCOMPARE(c.minorSkills(), QStringList{"Spear"});
        QCOMPARE(c.Birthsign(), QString());
        QCOMPARE(c.checkedOption(Character::GroupBirthsign), -1);
        QVERIFY(!c.markBlue(Character::LineBirthsign));
        // The rest applied.
        QCOMPARE(c.RealName(), QString("Ada"));
        QCOMPARE(c.ClassName(), QString("Odd"));
        QCOMPARE(c.taskText(0), QString("Still here"));
        QCOMPARE(c.taskText(1), QString());
    }

    void skillListsTakeFiveKeysAndEachSkillOnce() {
        const QString file = path("skills.mwc");
        writeBytes(file, "[FiveA]\r\niniMjrSkill1=Block\r\niniMjrSkill2=Block\r\n"
                         "iniMjrSkill3=Axe\r\n"
                         "[FiveB]\r\niniMnrSkill1=Sneak\r\niniMnrSkill2=Alchemy\r\n"
                         "iniMnrSkill3=Security\r\niniMnrSkill4=Enchant\r\n"
                         "iniMnrSkill5=Illusion\r\niniMnrSkill6=Marksman\r\n");
        QVERIFY(applyProfile(character(), file).ok());
        const Character& c = character();
        QCOMPARE(c.majorSkills(), (QStringList{"Block", "Axe"}));
        QCOMPARE(c.checkedCount(true), 2);
        QCOMPARE(c.skillFrameCaption(true), QString("Five Major Skills (3 remaining)"));
        QCOMPARE(c.minorSkills(),
                 (QStringList{"Sneak", "Alchemy", "Security", "Enchant", "Illusion"}));
        QCOMPARE(c.skillPosition(false, "Marksman") >= 0, true);
        QVERIFY(!c.skillList(false)[c.skillPosition(false, "Marksman")].checked);
    }

    void oddTaskStatesReadAsUnchecked() {
        const QString file = path("tasks.mwc");
        writeBytes(file, "[Tasks]\r\n"
                         "iniCheckTask0=7\r\niniTaskName0=a\r\n"
                         "iniCheckTask1=x\r\niniTaskName1=b\r\n"
                         "iniCheckTask2=\r\niniTaskName2=c\r\n"
                         "iniCheckTask3=-1\r\niniTaskName3=d\r\n"
                         "iniCheckTask4=2\r\niniTaskName4=e\r\n"
                         "iniCheckTask5=1\r\niniTaskName5=f\r\n"
                         "iniCheckTask6=1\r\n"
                         "iniCheckTask7=3\r\n");
        character().setTaskText(6, "old");
        character().setTaskState(7, 1);
        QVERIFY(applyProfile(character(), file).ok());
        const Character& c = character();
        QCOMPARE(c.taskState(0), 0);
        QCOMPARE(c.taskState(1), 0);
        QCOMPARE(c.taskState(2), 0);
        QCOMPARE(c.taskState(3), 0);
        QCOMPARE(c.taskState(4), 2);
        QCOMPARE(c.taskState(5), 1);
        QCOMPARE(c.taskState(6), 0); // a task without text is not done
        QCOMPARE(c.taskText(6), QString());
        QCOMPARE(c.taskState(7), 0);
    }

    void planningAssistantFileClearsNamesAndTasks() {
        buildFullCharacter();
        const QString file = m_app->file("Data/CharacterGen.MWC");
        writeBytes(file, "[SaveData]\r\niniDate=now\r\n"
                         "[Two]\r\niniClass=Combat\r\n"
                         "[Three]\r\niniRace=Nord\r\n"
                         "[Four]\r\niniFavAtt1=Strength\r\niniFavAtt2=Endurance\r\n"
                         "[FiveA]\r\niniMjrSkill1=Axe\r\niniMjrSkill2=Heavy Armour\r\n"
                         "iniMjrSkill3=Block\r\niniMjrSkill4=Athletics\r\n"
                         "iniMjrSkill5=Long Blade\r\n"
                         "[FiveB]\r\niniMnrSkill1=Armourer\r\niniMnrSkill2=Spear\r\n"
                         "iniMnrSkill3=Medium Armour\r\niniMnrSkill4=Restoration\r\n"
                         "iniMnrSkill5=Sneak\r\n"
                         "[Six]\r\niniBirthsign=The Warrior\r\n");
        // The assistant names its file in another letter case and separator.
        QVERIFY(applyProfile(character(), appFolder() + "\\data\\charactergen.mwc").ok());
        const Character& c = character();
        QCOMPARE(c.RealName(), QString());
        QCOMPARE(c.ClassName(), QString());
        QCOMPARE(c.CharacterName(), QString());
        QCOMPARE(c.Gender(), QString("Male"));
        QCOMPARE(c.reviewLine(Character::LineGender), QString("Gender: Male"));
        QCOMPARE(c.Class(), QString("Combat"));
        QCOMPARE(c.Race(), QString("Nord"));
        QCOMPARE(c.majorSkills().size(), 5);
        QCOMPARE(c.minorSkills().size(), 5);
        QCOMPARE(c.Birthsign(), QString("The Warrior"));
        for (int i = 0; i < Character::kTaskCount; ++i)
            QCOMPARE(c.taskText(i), QString());
        for (int i = 0; i < Character::kTaskBoxes; ++i)
            QCOMPARE(c.taskState(i), 0);
        QVERIFY(!c.markBlue(Character::LineName));
        QVERIFY(!c.markBlue(Character::LineCharacterName));
    }

    void hugeKeyCountApplies() {
        QByteArray bytes = "[One]\r\n";
        for (int i = 0; i < 10000; ++i)
            bytes += "filler" + QByteArray::number(i) + "=value number " + QByteArray::number(i) +
                     "\r\n";
        bytes += "iniRealName=Late\r\n[Six]\r\niniBirthsign=The Lady\r\n"
                 "[FiveB]\r\niniMnrSkill5=Alchemy\r\n";
        const QString file = path("huge.mwc");
        writeBytes(file, bytes);
        QVERIFY(bytes.size() > 64 * 1024);
        QVERIFY(applyProfile(character(), file).ok());
        QCOMPARE(character().RealName(), QString("Late"));
        QCOMPARE(character().Birthsign(), QString("The Lady"));
        QCOMPARE(character().minorSkills(), QStringList{"Alchemy"});
    }

    void snapshotAnswersAsReadIniValue() {
        QByteArray bytes = "\xEF\xBB\xBF"
                           "orphan=before any section\r\n"
                           "[One]\r\n"
                           "  iniRealName  =  \"  quoted  \"  \r\n"
                           "iniRealName=second\r\n"
                           "; a comment=no\r\n"
                           "noequals\r\n";
        bytes += QByteArray("bad\0line=x\r\n", 12);
        bytes += "single='s'\r\n"
                 "half=\"open\r\n"
                 "eq=a=b\r\n"
                 "cp=Ren\xE9"
                 "e\r\n"
                 "utf=Ren\xC3\xA9"
                 "e\r\n"
                 "\xEF\xBB\xBF"
                 "bom=lead\r\n"
                 "\xEF\xBB\xBF\xEF\xBB\xBF"
                 "dbl=two marks\r\n"
                 "\xEF\xBB\xBF"
                 "cp\xE9=after a mark\r\n"
                 "empty=\r\n"
                 "[ one ]\r\n"
                 "iniRealName=duplicate section\r\n"
                 "late=only in the duplicate\r\n"
                 "[Tw\xC3\xB6]\r\nk=umlaut section\n"
                 "[broken\r\n"
                 "after=broken header\r\n"
                 "[]\r\nblank=section\r\n"
                 "[Long]\r\nv=";
        bytes += QByteArray(3000, 'x');
        bytes += "\r\n[Last]\nlf=only\nend=no newline";
        const QString file = path("tricky.ini");
        writeBytes(file, bytes);
        const IniSnapshot snap = IniSnapshot::fromBytes(bytes);
        const QList<QPair<QString, QString>> lookups = {
            {"One", "orphan"},
            {"One", "iniRealName"},
            {"one", "INIREALNAME"},
            {"One", "a comment"},
            {"One", "noequals"},
            {"One", "bad"},
            {"One", "single"},
            {"One", "half"},
            {"One", "eq"},
            {"One", "cp"},
            {"One", "utf"},
            {"One", "bom"},
            {"One", "\xEF\xBB\xBF"
                    "bom"},
            {"One", "empty"},
            {"One", "dbl"},
            {"One", QString::fromUtf8("\uFEFFdbl")},
            {"One", QString::fromUtf8("cp\u00E9")},
            {"One", QString::fromUtf8("\u00EF\u00BB\u00BFcp\u00E9")},
            {"One", "late"},
            {"One", "after"},
            {QString::fromUtf8("TWÖ"), "K"},
            {"", "blank"},
            {"Long", "v"},
            {"Last", "lf"},
            {"Last", "end"},
            {"Missing", "x"},
            {" One ", " iniRealName "}};
        for (const auto& [section, key] : lookups) {
            for (const QString& dflt : {QString(), QString("dflt"), QString(2100, 'd')})
                QCOMPARE(snap.value(section, key, dflt), ReadIniValue(section, key, dflt, file));
        }
    }

    void refusedFilesLeaveTheCharacterUntouched_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::newRow("2 MB") << QByteArray(2 * 1024 * 1024, 'a')
                              << int(ApplyResult::Status::TooLarge);
        QTest::newRow("NUL bytes") << QByteArray("[One]\r\niniRealName=X\0\0\0\r\n", 25)
                                   << int(ApplyResult::Status::NotText);
        QByteArray noise;
        for (int i = 0; i < 4000; ++i)
            noise += char((i * 37 % 31) + 1);
        QTest::newRow("control characters") << noise << int(ApplyResult::Status::NotText);
    }
    void refusedFilesLeaveTheCharacterUntouched() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        buildFullCharacter();
        const State before = capture();
        const QString file = path("refused.mwc");
        writeBytes(file, bytes);
        const ApplyResult r = applyProfile(character(), file);
        QCOMPARE(int(r.status), status);
        QVERIFY(!r.reason.isEmpty());
        QVERIFY(capture() == before);
    }

    void missingOrUnreadableFilesAreRefused() {
        buildFullCharacter();
        const State before = capture();
        ApplyResult r = applyProfile(character(), path("nothing-here.mwc"));
        QCOMPARE(r.status, ApplyResult::Status::Missing);
        QCOMPARE(r.reason, QString("the file does not exist."));
        r = applyProfile(character(), m_dir.path());
        QCOMPARE(r.status, ApplyResult::Status::Unreadable);
        r = applyProfile(character(), QString());
        QCOMPARE(r.status, ApplyResult::Status::Missing);
        QVERIFY(capture() == before);
    }

    void utf16FileLoads() {
        // As Notepad saves "Unicode" text.
        const QString text = "[One]\r\niniRealName=Åsa\r\n[Six]\r\niniBirthsign=The Lady\r\n";
        QByteArray bytes("\xFF\xFE");
        for (const QChar ch : text)
            bytes += char(ch.unicode() & 0xFF), bytes += char(ch.unicode() >> 8);
        writeBytes(path("utf16.mwc"), bytes);
        QVERIFY(applyProfile(character(), path("utf16.mwc")).ok());
        QCOMPARE(character().RealName(), QString("Åsa"));
        QCOMPARE(character().Birthsign(), QString("The Lady"));
    }

    void emptyFileClearsTheWizard() {
        buildFullCharacter();
        const QString file = path("empty.mwc");
        writeBytes(file, "");
        QVERIFY(applyProfile(character(), file).ok());
        QCOMPARE(character().RealName(), QString());
        QCOMPARE(character().Class(), QString());
        QVERIFY(character().majorSkills().isEmpty());
        QCOMPARE(character().Gender(), QString("Male"));
    }

    // ------------------------------------------------------ save command --

    void saveDialogsAreSetUpAsDocumented() {
        character().setChangesMade("Yes");
        QVERIFY(!SaveInformation(QString())); // cancelled
        QCOMPARE(m_platform->dialogs.size(), 1);
        const FileDialogSpec& s = m_platform->dialogs.first();
        QCOMPARE(s.kind, FileDialogSpec::Kind::Save);
        QCOMPARE(s.title, QString("Save File As..."));
        QCOMPARE(s.filters.size(), 2);
        QCOMPARE(s.filters[0], (QPair<QString, QString>("All Files (*.*)", "*.*")));
        QCOMPARE(s.filters[1],
                 (QPair<QString, QString>("Morrowind Character Profile (.mwc)", "*.mwc")));
        QCOMPARE(s.selectedFilter, 1);
        QCOMPARE(s.defaultSuffix, QString("mwc"));
        QCOMPARE(s.initialName, QString("'s Character"));
        QCOMPARE(s.initialFolder, appFolder());
        QVERIFY(s.confirmOverwrite);
        // Cancelled: nothing written, the flag untouched, no message.
        QCOMPARE(character().ChangesMade(), QString("Yes"));
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(QDir(appFolder()).entryList({"*.mwc"}, QDir::Files).size(), 0);

        character().setRealName("Ada");
        GetSaveAsName(character().RealName() + "'s Character", "/some/folder");
        QCOMPARE(m_platform->dialogs.last().initialName, QString("Ada's Character"));
        QCOMPARE(m_platform->dialogs.last().initialFolder, QString("/some/folder"));

        GetSaveAsNameTextFile("notes", "/f");
        const FileDialogSpec& t = m_platform->dialogs.last();
        QCOMPARE(t.kind, FileDialogSpec::Kind::Save);
        QCOMPARE(t.title, QString("Save File As..."));
        QCOMPARE(t.filters[0], (QPair<QString, QString>("All Files (*.*)", "*.*")));
        QCOMPARE(t.filters[1], (QPair<QString, QString>("Text Document (*.txt)", "*.txt")));
        QCOMPARE(t.selectedFilter, 1);
        QCOMPARE(t.defaultSuffix, QString("txt"));
        QCOMPARE(t.initialName, QString("notes"));
        QVERIFY(t.confirmOverwrite);
    }

    void saveWritesTheChosenFileAndMarksItSaved() {
        buildFullCharacter();
        QCOMPARE(character().ChangesMade(), QString("Yes"));
        const QString file = path("chosen.mwc");
        m_platform->setNextFile(file);
        QVERIFY(SaveInformation(QString()));
        QCOMPARE(m_platform->dialogs.first().initialName, QString("Ada's Character"));
        QCOMPARE(character().ChangesMade(), QString("No"));
        QCOMPARE(ReadIniValue("Three", "iniCharacterName", "", file), QString("Veya Indoril"));
        QVERIFY(m_platform->messages.isEmpty());

        // A given name is written without a dialog, in any letter case and
        // either separator (the path suggestions' temporary profile).
        character().setChangesMade("Yes");
        QVERIFY(SaveInformation(appFolder() + "\\data\\~pathprofile.mwc"));
        QCOMPARE(m_platform->dialogs.size(), 1);
        QVERIFY(QFile::exists(m_app->file("Data/~pathprofile.mwc")));
        QCOMPARE(character().ChangesMade(), QString("No"));
    }

    void failedSaveTellsTheUserAndKeepsTheOldFile() {
        buildFullCharacter();
        const QString file = path("locked.mwc");
        const QByteArray old = "[One]\r\niniRealName=Previous\r\n";
        writeBytes(file, old);
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        m_platform->setNextFile(file);
        QVERIFY(!SaveInformation(QString()));
        QCOMPARE(m_platform->messages.size(), 1);
        const auto& m = m_platform->messages.first();
        QVERIFY2(m.text.startsWith("TARVO2 could not save your profile to " +
                                   QDir::toNativeSeparators(file) + ": the file is read-only."),
                 qPrintable(m.text));
        QCOMPARE(m.title, QString("Quenmark v2"));
        QCOMPARE(readAll(file), old);
        QCOMPARE(character().ChangesMade(), QString("Yes"));

        // A vanished folder, given directly.
        QVERIFY(!SaveInformation(path("vanished/p.mwc")));
        QCOMPARE(m_platform->messages.size(), 2);
        QVERIFY(m_platform->messages.last().text.contains("does not exist"));
        QCOMPARE(character().ChangesMade(), QString("Yes"));
    }

    void savesNameTheRealReason() {
        buildFullCharacter();
        // A lock left in a shared folder by a computer that stopped while
        // saving: the user is asked whether to take it over.
        const QString file = path("shared.mwc");
        writeBytes(file + ".lock", "4242\nprjTARVO2\nfar-away-box\n");
        m_platform->setNextAnswer(MsgResult::No);
        QVERIFY(!SaveInformation(file));
        QVERIFY(m_platform->messages.first().text.startsWith(
            QDir::toNativeSeparators(file) + " is locked by another computer (far-away-box)"));
        QVERIFY(m_platform->lastMessage().text.contains(
            ": the file is locked by another computer (far-away-box).\n\nYour character"));
        m_platform->setNextAnswer(MsgResult::Yes);
        QVERIFY(SaveInformation(file) && !QFile::exists(file + ".lock"));

        // A full disk, with no room even for the lock, then with room for
        // the lock alone (a small file system, mounted when run as root).
        QTemporaryDir small;
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "t", small.path()}) != 0)
            QSKIP("a small file system cannot be mounted here (it needs Linux and root)");
        const std::unique_ptr<QTemporaryDir, void (*)(QTemporaryDir*)> unmount(
            &small, [](QTemporaryDir* d) { QProcess::execute("umount", {d->path()}); });
        QFile filler(small.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        const qint64 full = filler.size();
        for (qint64 room : {0, 4096}) {
            QVERIFY(filler.resize(full - room));
            QVERIFY(!SaveInformation(small.filePath("p.mwc")));
            QVERIFY2(
                m_platform->lastMessage().text.contains(": there is no space left on the disk."),
                qPrintable(m_platform->lastMessage().text));
        }
        QCOMPARE(QDir(small.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"filler"});
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
