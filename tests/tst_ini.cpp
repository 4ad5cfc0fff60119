// The INI layer is the contract with every stored file: settings, profiles,
// templates, tag sets and the versions file shared with the update checker.
#include "ini/mdlVbNetIni.h"
#include "ini/pathresolve.h"
#include "ini/safewrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

class TestIni : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    void put(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray get(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool isRoot() {
        return qEnvironmentVariable("USER") == "root" || QDir::homePath() == "/root";
    }

private slots:
    void readsValuesLikeThePlatform() {
        put("a.ini", "[Program]\r\n"
                     "iniFirstRun = Yes  \r\n"
                     "iniQuoted=\"  spaced  \"\r\n"
                     "iniSingle='x'\r\n"
                     "iniHalf=\"open\r\n"
                     "iniEmpty=\r\n"
                     "iniEq=a=b\r\n"
                     "inicmdCreate(3).Visible=True\r\n"
                     "iniDup=first\r\n"
                     "iniDup=second\r\n");
        const QString f = path("a.ini");
        QCOMPARE(ReadIniValue("Program", "iniFirstRun", "No", f), QString("Yes"));
        QCOMPARE(ReadIniValue("program", "INIFIRSTRUN", "No", f), QString("Yes"));
        QCOMPARE(ReadIniValue("Program", "iniQuoted", "", f), QString("  spaced  "));
        QCOMPARE(ReadIniValue("Program", "iniSingle", "", f), QString("x"));
        QCOMPARE(ReadIniValue("Program", "iniHalf", "", f), QString("\"open"));
        QCOMPARE(ReadIniValue("Program", "iniEmpty", "Default", f), QString());
        QCOMPARE(ReadIniValue("Program", "iniEq", "", f), QString("a=b"));
        QCOMPARE(ReadIniValue("Program", "iniCmdCreate(3).Visible", "False", f), QString("True"));
        QCOMPARE(ReadIniValue("Program", "iniDup", "", f), QString("first"));
        QCOMPARE(ReadIniValue("Program", "iniDomain", "", f), QString());
        QCOMPARE(ReadIniValue("Program", "iniDomain", "No", f), QString("No"));
        QCOMPARE(ReadIniValue("Other", "iniFirstRun", "dflt", f), QString("dflt"));
        QCOMPARE(ReadIniValue("Program", "iniFirstRun", "dflt", path("missing.ini")),
                 QString("dflt"));
    }

    void firstSectionOfANameAnswers() {
        put("dup.ini", "[S]\na=1\n[T]\nb=2\n[s]\na=3\nc=4\n");
        QCOMPARE(ReadIniValue("S", "a", "", path("dup.ini")), QString("1"));
        QCOMPARE(ReadIniValue("S", "c", "none", path("dup.ini")), QString("none"));
    }

    void longValuesAreCut() {
        const QByteArray longValue(3000, 'x');
        put("long.ini", "[S]\r\nk=" + longValue + "\r\n");
        QCOMPARE(ReadIniValue("S", "k", "", path("long.ini")).size(), kIniValueMax);
        QCOMPARE(ReadIniValue("S", "missing", QString(3000, 'd'), path("long.ini")).size(),
                 kIniValueMax);
    }

    void writeCreatesFileSectionAndKey() {
        const QString f = path("created.ini");
        QVERIFY(WriteIniValue("versions", "program", "2.0.3", f));
        QCOMPARE(get("created.ini"), QByteArray("[versions]\r\nprogram=2.0.3\r\n"));
        QVERIFY(!WriteIniValue("S", "k", "v", path("no such folder/x.ini")));
    }

    void writeKeepsEverythingElse() {
        put("keep.ini", "; a comment\n"
                        "[One]\n"
                        "Key=old ; trailing\n"
                        "junk line without equals\n"
                        "other=1\n"
                        "\n"
                        "[Two]\n"
                        "x=1\n");
        const QString f = path("keep.ini");
        QVERIFY(WriteIniValue("one", "KEY", "new", f));
        QVERIFY(WriteIniValue("One", "added", "2", f));
        QVERIFY(WriteIniValue("Three", "z", "3", f));
        QCOMPARE(get("keep.ini"), QByteArray("; a comment\r\n"
                                             "[One]\r\n"
                                             "Key=new\r\n"
                                             "junk line without equals\r\n"
                                             "other=1\r\n"
                                             "added=2\r\n"
                                             "\r\n"
                                             "[Two]\r\n"
                                             "x=1\r\n"
                                             "[Three]\r\n"
                                             "z=3\r\n"));
    }

    void deleteSectionRemovesItsKeysOnly() {
        put("del.ini", "[A]\r\na=1\r\n[FiveA]\r\niniMjrSkill1=Block\r\niniMjrSkill5=Axe\r\n"
                       "[B]\r\nb=2\r\n");
        const QString f = path("del.ini");
        QVERIFY(DeleteIniSection("fivea", f));
        QCOMPARE(get("del.ini"), QByteArray("[A]\r\na=1\r\n[B]\r\nb=2\r\n"));
        QVERIFY(DeleteIniSection("Nothing", f));
        QVERIFY(DeleteIniSection("A", path("missing-del.ini")));
        QVERIFY(!QFile::exists(path("missing-del.ini")));
    }

    void sectionToList() {
        put("list.ini", "[sitenames]\r\nsite0=UESP\r\n; note\r\nsite1 = \"OpenMW\"\r\nx=Third\r\n"
                        "[next]\r\nno=1\r\n");
        QStringList list;
        QCOMPARE(LoadIniSectionToList(list, "SITENAMES", path("list.ini")), qint16(3));
        QCOMPARE(list, QStringList({"UESP", "OpenMW", "Third"}));
        // Items already in the list are counted too.
        QCOMPARE(LoadIniSectionToList(list, "next", path("list.ini")), qint16(4));
        QCOMPARE(LoadIniSectionToList(list, "none", path("list.ini")), qint16(4));
        QCOMPARE(LoadIniSectionToList(list, "next", path("missing.ini")), qint16(4));
    }

    void sectionKeyBufferIsCutLikeThePlatform() {
        QByteArray text = "[S]\r\n";
        for (int i = 0; i < 400; ++i)
            text += "key" + QByteArray::number(i) + "=v" + QByteArray::number(i) + "\r\n";
        put("many.ini", text);
        const QString keys = IniSectionKeyBuffer("S", path("many.ini"));
        QCOMPARE(keys.size(), 2046);
        QStringList list;
        LoadIniSectionToList(list, "S", path("many.ini"));
        // Only whole key names are read; the cut one is dropped.
        QVERIFY(list.size() < 400);
        QCOMPARE(list.first(), QString("v0"));
        QCOMPARE(list.last(), QString("v%1").arg(list.size() - 1));
    }

    void takeToNull() {
        QString text = QString("a") + QChar(0) + "b" + QChar(0);
        QCOMPARE(TakeToNull(text), QString("a"));
        QCOMPARE(text, QString("b") + QChar(0));
        QString plain = "no nul";
        QCOMPARE(TakeToNull(plain), QString());
        QCOMPARE(plain, QString("no nul"));
    }

    void encodings() {
        // Windows-1252 bytes from an older installation: e acute and the euro sign.
        put("cp.ini", "[S]\r\nname=Caf\xE9 \x80 5\r\nother=1\r\n");
        const QString f = path("cp.ini");
        QCOMPARE(ReadIniValue("S", "name", "", f), QString::fromUtf8("Café € 5"));
        // Rewriting another key keeps those bytes as they were.
        QVERIFY(WriteIniValue("S", "other", QString::fromUtf8("Ünïcode"), f));
        QCOMPARE(get("cp.ini"), QByteArray("[S]\r\nname=Caf\xE9 \x80 5\r\nother=\xC3\x9Cn\xC3\xAF"
                                           "code\r\n"));
        QCOMPARE(ReadIniValue("S", "other", "", f), QString::fromUtf8("Ünïcode"));
        QCOMPARE(ReadIniValue("S", "name", "", f), QString::fromUtf8("Café € 5"));
    }

    void byteOrderMarkAndLineEnds() {
        put("bom.ini", "\xEF\xBB\xBF[S]\nk=1\r\nl=2\n[T]\r\nm=3");
        const QString f = path("bom.ini");
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("1"));
        QCOMPARE(ReadIniValue("S", "l", "", f), QString("2"));
        QCOMPARE(ReadIniValue("T", "m", "", f), QString("3"));
        QVERIFY(WriteIniValue("T", "n", "4", f));
        QCOMPARE(get("bom.ini"),
                 QByteArray("\xEF\xBB\xBF[S]\r\nk=1\r\nl=2\r\n[T]\r\nm=3\r\nn=4\r\n"));
    }

    void junkNeverBreaksReadsOrLosesBytes() {
        QByteArray junk = "[S]\r\nk=1\r\n";
        junk += QByteArray("bin\0ary=\0x\r\n", 13);
        for (int i = 0; i < 256; ++i)
            junk += char(i);
        junk += "\r\n";
        junk += QByteArray(10 * 1024 * 1024, 'z'); // a 10 MB line without a newline
        put("junk.ini", junk);
        const QString f = path("junk.ini");
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("1"));
        QCOMPARE(ReadIniValue("S", "bin", "dflt", f), QString("dflt"));
        QVERIFY(WriteIniValue("S", "new", "v", f));
        QByteArray expected = "[S]\r\nk=1\r\n";
        expected += QByteArray("bin\0ary=\0x\r\n", 13);
        for (int i = 0; i < 256; ++i)
            expected += char(i);
        // The LF among the junk bytes ends a line, written back with CR LF;
        // the line after it has an "=" and so counts as the last entry.
        expected.replace("\t\n", "\t\r\n");
        expected += "\r\nnew=v\r\n";
        expected += QByteArray(10 * 1024 * 1024, 'z');
        expected += "\r\n";
        QCOMPARE(get("junk.ini"), expected);
    }

    void foldersAndReadOnlyFiles() {
        QDir(m_dir.path()).mkdir("folder.ini");
        QCOMPARE(ReadIniValue("S", "k", "dflt", path("folder.ini")), QString("dflt"));
        QVERIFY(!WriteIniValue("S", "k", "v", path("folder.ini")));

        put("ro.ini", "[S]\r\nk=1\r\n");
        QFile::setPermissions(path("ro.ini"), QFile::ReadOwner | QFile::ReadUser);
        QVERIFY(!WriteIniValue("S", "k", "2", path("ro.ini")));
        QVERIFY(!DeleteIniSection("S", path("ro.ini")));
        QCOMPARE(ReadIniValue("S", "k", "", path("ro.ini")), QString("1"));
        QFile::setPermissions(path("ro.ini"), QFile::ReadOwner | QFile::WriteOwner);

        put("hidden.ini", "[S]\r\nk=1\r\n");
        QFile::setPermissions(path("hidden.ini"), QFileDevice::Permissions());
        QFile probe(path("hidden.ini"));
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this user reads files without read permission (root)");
        QCOMPARE(ReadIniValue("S", "k", "dflt", path("hidden.ini")), QString("dflt"));
        QVERIFY(!WriteIniValue("S", "k", "2", path("hidden.ini")));
    }

    void pathsIgnoreCaseAndSeparators() {
        QDir(m_dir.path()).mkpath("App/Data/Websites");
        put("App/Data/Settings.ini", "[Program]\r\niniDomain=https://example.org/\r\n");
        const QString app = path("App");
        QCOMPARE(ReadIniValue("Program", "iniDomain", "", app + "\\data\\settings.ini"),
                 QString("https://example.org/"));
        QCOMPARE(ReadIniValue("Program", "iniDomain", "", app + "/DATA/SETTINGS.INI"),
                 QString("https://example.org/"));
        QCOMPARE(tarvo::resolvePath(app + "\\data\\websites\\new file.ini"),
                 app + "/Data/Websites/new file.ini");
        QCOMPARE(tarvo::resolvePath(app + "/nothere/x.ini"), app + "/nothere/x.ini");
        // Writing through a differently cased path changes the existing file.
        QVERIFY(WriteIniValue("Program", "iniFirstRun", "No", app + "/data/settings.INI"));
        QCOMPARE(QDir(app + "/Data").entryList(QDir::Files), QStringList({"Settings.ini"}));
        QCOMPARE(ReadIniValue("Program", "iniFirstRun", "", app + "/Data/Settings.ini"),
                 QString("No"));
    }

    void concurrentWritersLoseNoKey() {
        const QString f = path("versions.ini");
        put("versions.ini", "[versions]\r\nprogram=2.0.2\r\n");
        auto writer = [&](const char* prefix) {
            for (int i = 0; i < 40; ++i)
                WriteIniValue("versions", QString("%1%2").arg(prefix).arg(i), "1.0", f);
        };
        std::thread a(writer, "main");
        std::thread b(writer, "update");
        a.join();
        b.join();
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(ReadIniValue("versions", QString("main%1").arg(i), "", f), QString("1.0"));
            QCOMPARE(ReadIniValue("versions", QString("update%1").arg(i), "", f), QString("1.0"));
        }
        QVERIFY(!QFile::exists(f + ".lock"));
    }

    void replacingKeepsPermissionsLinksAndLeavesNothingBehind() {
        QDir dir(m_dir.path());
        dir.mkdir("swap");
        put("swap/target.ini", "[S]\r\nk=old\r\n");
        const QString target = path("swap/target.ini");
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QFile::setPermissions(target, perms);
        const auto before = QFile::permissions(target);
        QVERIFY(WriteIniValue("S", "k", "new", target));
        QCOMPARE(QFile::permissions(target), before);
        QCOMPARE(QDir(path("swap")).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"target.ini"}));

        // A link keeps pointing at the file, which gets the new contents.
        QVERIFY(QFile::link(target, path("swap/link.ini")));
        QVERIFY(WriteIniValue("S", "k", "through link", path("swap/link.ini")));
        QVERIFY(QFileInfo(path("swap/link.ini")).isSymLink());
        QCOMPARE(ReadIniValue("S", "k", "", target), QString("through link"));

        // In a folder that cannot be written to, the old file stays whole.
        QString failure;
        QFile::setPermissions(path("swap"), QFile::ReadOwner | QFile::ExeOwner);
        const bool replaced = tarvo::replaceFileContents(target, "x", &failure);
        QFile::setPermissions(path("swap"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (replaced)
            QSKIP("this user writes into folders without write permission (root)");
        QVERIFY(failure.startsWith("the file could not be created"));
        QCOMPARE(ReadIniValue("S", "k", "", target), QString("through link"));
        QVERIFY(!tarvo::replaceFileContents(m_dir.path(), "x", &failure));
        QCOMPARE(failure, QString("the name belongs to a folder."));
    }

    void readsSeeEveryChange() {
        // Reads may reuse what they read before; no change may go unseen.
        const QString f = path("changing.ini");
        put("changing.ini", "[S]\r\nk=1\r\n");
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("1"));
        put("changing.ini", "[S]\r\nk=2\r\n"); // same size, same instant
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("2"));

        // A file that has not changed for an hour, as settings files are.
        auto age = [&] {
            QFile file(f);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        };
        age();
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("2"));
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("2"));
        put("changing.ini", "[S]\r\nk=3\r\n"); // another program, same size
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("3"));
        age();
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("3"));
        QVERIFY(WriteIniValue("S", "k", "4", f));
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("4"));
        QCOMPARE(IniSectionKeyBuffer("S", f), QString("k") + QChar(0));
        QVERIFY(WriteIniValue("S", "j", "5", f));
        QCOMPARE(IniSectionKeyBuffer("S", f), QString("k") + QChar(0) + "j" + QChar(0));
        QFile::remove(f);
        QCOMPARE(ReadIniValue("S", "k", "gone", f), QString("gone"));
    }

    void iniFileObject() {
        put("obj.ini", "[S]\r\nn=42abc\r\nz=x\r\ne=\r\nt=" + QByteArray(300, 't') + "\r\n");
        clsIniFile ini;
        ini.Create(path("obj.ini"));
        QCOMPARE(ini.Data("S", "n"), qint16(42));
        QCOMPARE(ini.Data("S", "z"), qint16(0));
        QCOMPARE(ini.Data("S", "e"), qint16(0));
        QCOMPARE(ini.Data("S", "none"), qint16(-1));
        QCOMPARE(ini.Text("S", "t").size(), 254);
        QCOMPARE(ini.Text("S", "none"), QString());
        QVERIFY(ini.setData("S", "n", 7));
        QCOMPARE(ini.Data("S", "n"), qint16(7));
        QVERIFY(ini.setText("S", "new", "v"));
        QCOMPARE(ini.Text("S", "new"), QString("v"));
        clsIniFile missing;
        missing.Create(path("none.ini"));
        QCOMPARE(missing.Data("S", "n"), qint16(-1));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
