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

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QSysInfo>

#include <filesystem>
#include <memory>
#include <thread>

#include <unistd.h>

#include "ini/textfile.h"

constexpr int kKeysPerWriter = 200;

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
        // The LF and the CR among the junk bytes end lines, written back
        // with CR LF; the line after them has an "=" and so counts as the
        // last entry.
        expected.replace("\t\n", "\t\r\n");
        expected.replace("\f\r", "\f\r\n");
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

        QString failure;
        QVERIFY(
            !tarvo::replaceFileContents(m_dir.path(), "x", tarvo::Durability::Working, &failure));
        QCOMPARE(failure, QString("the name belongs to a folder."));
    }

    void replacedFilesKeepEveryNameModeAndOwner() {
        QDir(m_dir.path()).mkdir("names");
        const QString target = path("names/target.ini");
        put("names/target.ini", "[S]\r\nk=old\r\n");
        QVERIFY(QFile::link(target, path("names/link1.ini")));
        QVERIFY(QFile::link("link1.ini", path("names/link2.ini"))); // relative, to a link
        QVERIFY(QFile::link(path("names/link2.ini"), path("names/link3.ini")));
        std::filesystem::create_hard_link(path("names/target.ini").toStdString(),
                                          path("names/hard.ini").toStdString());
        namespace fs = std::filesystem;
        fs::permissions(target.toStdString(), fs::perms(0640) | fs::perms::set_gid);
        const auto mode = fs::status(target.toStdString()).permissions();

        QVERIFY(WriteIniValue("S", "k", "via three links", path("names/link3.ini")));
        QVERIFY(QFileInfo(path("names/link3.ini")).isSymLink());
        QVERIFY(QFileInfo(path("names/link2.ini")).isSymLink());
        QVERIFY(QFileInfo(path("names/link1.ini")).isSymLink());
        QCOMPARE(ReadIniValue("S", "k", "", path("names/hard.ini")), QString("via three links"));
        QVERIFY(WriteIniValue("S", "k", "via the other name", path("names/hard.ini")));
        QCOMPARE(ReadIniValue("S", "k", "", target), QString("via the other name"));
        QCOMPARE(fs::hard_link_count(target.toStdString()), std::uintmax_t(2));
        QCOMPARE(fs::status(target.toStdString()).permissions(), mode);

        // A file owned by someone else keeps its owner and group.
        put("names/owned.ini", "[S]\r\nk=1\r\n");
        if (::chown(QFile::encodeName(path("names/owned.ini")).constData(), 65534, 65534) == 0) {
            QVERIFY(WriteIniValue("S", "k", "2", path("names/owned.ini")));
            QCOMPARE(QFileInfo(path("names/owned.ini")).ownerId(), 65534u);
            QCOMPARE(QFileInfo(path("names/owned.ini")).groupId(), 65534u);
        }

        // A writable file in a folder that cannot be written is written in place.
        QDir(m_dir.path()).mkdir("locked");
        put("locked/in.ini", "[S]\r\nk=1\r\n");
        QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(WriteIniValue("S", "k", "2", path("locked/in.ini")));
        QFile::setPermissions(path("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(get("locked/in.ini"), QByteArray("[S]\r\nk=2\r\n"));

        // A writer killed before its rename leaves a file that the next write removes.
        put("names/.target.ini.k1ll3d.new", "half");
        QVERIFY(WriteIniValue("S", "k", "3", target));
        QCOMPARE(QDir(path("names")).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 6);
        QVERIFY(!QFile::exists(path("names/.target.ini.k1ll3d.new")));

        // Messages name the real reason.
        QString failure;
        QVERIFY(QFile::link(path("names/loop2"), path("names/loop1")));
        QVERIFY(QFile::link(path("names/loop1"), path("names/loop2")));
        QVERIFY(!tarvo::replaceFileContents(path("names/loop1"), "x", tarvo::Durability::Working,
                                            &failure));
        QCOMPARE(failure, QString("the name leads round a loop of symbolic links."));
        QVERIFY(
            !tarvo::replaceFileContents("/dev/null", "x", tarvo::Durability::Working, &failure));
        QVERIFY(failure.contains("not a regular file"));
        QVERIFY(!WriteIniValue("S", "k", "v", "/dev/null"));
    }

    void utf16FilesStayUtf16() {
        auto utf16 = [](const QString& text, bool little) {
            QStringEncoder e(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                             QStringConverter::Flag::WriteBom);
            return QByteArray(e(text));
        };
        put("le.ini", utf16("[Program]\r\niniDomain=https://example.org/\r\nname=Åsa\r\n", true));
        put("be.ini", utf16("[Program]\r\niniDomain=https://example.net/\r\n", false));
        QCOMPARE(ReadIniValue("Program", "iniDomain", "", path("le.ini")),
                 QString("https://example.org/"));
        QCOMPARE(ReadIniValue("Program", "name", "", path("le.ini")), QString("Åsa"));
        QCOMPARE(ReadIniValue("Program", "iniDomain", "", path("be.ini")),
                 QString("https://example.net/"));
        QVERIFY(WriteIniValue("Program", "iniFirstRun", "No", path("le.ini")));
        QCOMPARE(get("le.ini"), utf16("[Program]\r\niniDomain=https://example.org/\r\nname=Åsa\r\n"
                                      "iniFirstRun=No\r\n",
                                      true));
        QVERIFY(WriteIniValue("Program", "iniFirstRun", "No", path("be.ini")));
        QVERIFY(get("be.ini").startsWith("\xFE\xFF"));
    }

    void linesNamesAndTrimmingAgree() {
        // CR-only line ends; an empty key name; a key ending in a no-break
        // space, VT or FF; a key and a line holding a byte-order mark.
        put("names.ini", "[S]\ra=1\r=hidden\r\nnb\xA0=2\r\nvt\v=3\r\nff\f=4\r\n"
                         "\xEF\xBB\xBF bom=5\r\n\xEF\xBB\xBF\r\n[T]\rb=6\r");
        const QString f = path("names.ini");
        QStringList values;
        QCOMPARE(LoadIniSectionToList(values, "S", f), qint16(5));
        QCOMPARE(values, QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(ReadIniValue("S", "", "none", f), QString("none"));
        QCOMPARE(ReadIniValue("T", "b", "", f), QString("6"));
        QStringList lines = tarvo::readNonEmptyLines(f);
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[7], QString(QChar(0xFEFF)));

        // A first key name longer than the key buffer adds no item.
        put("longkey.ini", "[S]\r\n" + QByteArray(3000, 'k') + "=v\r\n");
        QStringList none;
        QCOMPARE(LoadIniSectionToList(none, "S", path("longkey.ini")), qint16(0));
    }

    void writesReadBackAsWritten() {
        const QString f = path("exact.ini");
        put("exact.ini", "[S]\r\nk=1\r\n");
        const QStringList values = {"  both  ", "\ttab", "\"quoted\"", "'single'", "\"", " \"a\" "};
        for (const QString& v : values) {
            QVERIFY(WriteIniValue("S", "v", v, f));
            QCOMPARE(ReadIniValue("S", "v", "", f), v);
        }
        // Nothing that would not read back as written reaches the file.
        const QByteArray before = get("exact.ini");
        QVERIFY(!WriteIniValue("S", "v", "two\nlines", f));
        QVERIFY(!WriteIniValue("S", "v", "cr\ronly", f));
        QVERIFY(!WriteIniValue("S", "v", QString("nul") + QChar(0), f));
        for (const char* key : {"", "  ", "[Six]", ";note", "a=b", "two\nlines"})
            QVERIFY2(!WriteIniValue("S", key, "v", f), key);
        QVERIFY(!WriteIniValue("a\nb", "k", "v", f));
        QVERIFY(!WriteIniValue("", "k", "v", f));
        QCOMPARE(get("exact.ini"), before);

        // A cut at the buffer never splits a character.
        const QString emoji = QString::fromUtf8("\U0001F600");
        QVERIFY(WriteIniValue("S", "long", QString(kIniValueMax - 1, 'x') + emoji, f));
        QCOMPARE(ReadIniValue("S", "long", "", f), QString(kIniValueMax - 1, 'x'));
        clsIniFile ini;
        ini.Create(f);
        QVERIFY(WriteIniValue("S", "short", QString(253, 'y') + emoji, f));
        QCOMPARE(ini.Text("S", "short"), QString(253, 'y'));
    }

    void deadAndEmptyLocksNeverBlock() {
        const QString f = path("locked.ini");
        put("locked.ini", "[S]\r\n");
        // A lock left by a process that has ended.
        QProcess dead;
        dead.start("sleep", {"0.1"});
        QVERIFY(dead.waitForStarted());
        const qint64 pid = dead.processId();
        QVERIFY(dead.waitForFinished());
        put("locked.ini.lock",
            QByteArray::number(pid) + "\nsleep\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        QElapsedTimer t;
        t.start();
        QVERIFY(WriteIniValue("S", "a", "1", f));
        // An empty lock file, as a writer killed at once leaves it.
        put("locked.ini.lock", "");
        QFile lock(path("locked.ini.lock"));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5),
                                 QFileDevice::FileModificationTime));
        lock.close();
        QVERIFY(WriteIniValue("S", "b", "2", f));
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(!QFile::exists(path("locked.ini.lock")));
    }

    void userFilesReachTheDiskBeforeTheyReplaceTheOld() {
        // As strace sees a write: the new file's descriptor is synced before
        // the rename for a profile and a setting, not for a working file.
        const QString strace = QStandardPaths::findExecutable("strace");
        if (strace.isEmpty())
            QSKIP("strace is not installed");
        for (QString kind : {"durable", "setting", "working"}) {
            const QString f = path(kind), log = path(kind + ".log");
            put(kind, "[S]\r\nk=old\r\n");
            QCOMPARE(QProcess::execute(strace, {"-f", "-o", log, "-e",
                                                "trace=openat,fsync,fdatasync,rename,renameat2",
                                                QCoreApplication::applicationFilePath(),
                                                "--replace", kind, f}),
                     0);
            QCOMPARE(ReadIniValue("S", "k", "", f), QString("new"));
            QString fd, synced;
            for (const QString& call : QString(get(kind + ".log")).split('\n')) {
                const auto m = QRegularExpression("openat\\(.*\\.new\", .* = (\\d+)").match(call);
                fd = m.hasMatch() ? m.captured(1) : fd;
                if (call.contains(QRegularExpression("f(data)?sync\\(" + fd + "\\)")))
                    synced = "synced";
                if (call.contains("rename") && call.contains("\"" + f + "\""))
                    synced += " renamed";
            }
            QCOMPARE(synced, kind == "working" ? " renamed" : "synced renamed");
        }
    }

    void sixProcessesLoseNoKey() {
        const QString f = path("shared.ini");
        put("shared.ini", "[versions]\r\nprogram=2.0.2\r\n");
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int p = 0; p < 6; ++p) {
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->start(QCoreApplication::applicationFilePath(),
                                  {"--write-keys", f, QString("p%1_").arg(p)});
        }
        for (auto& w : writers) {
            QVERIFY(w->waitForFinished(120000));
            QCOMPARE(w->exitCode(), 0);
        }
        for (int p = 0; p < 6; ++p)
            for (int i = 0; i < kKeysPerWriter; ++i)
                QCOMPARE(ReadIniValue("versions", QString("p%1_%2").arg(p).arg(i), "", f),
                         QString("1.0"));
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

        // Put in place with the old modification time (cp -p, rsync, tar).
        put("changing.ini", "[S]\r\nk=5\r\n");
        age();
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("5"));
        const QDateTime old = QFileInfo(f).lastModified();
        put("other.ini", "[S]\r\nk=6\r\n");
        {
            QFile other(path("other.ini"));
            QVERIFY(other.open(QIODevice::ReadWrite));
            QVERIFY(other.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::remove(f));
        QVERIFY(QFile::rename(path("other.ini"), f));
        QCOMPARE(ReadIniValue("S", "k", "", f), QString("6"));
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

// Run as "--write-keys FILE PREFIX": one of the writers of
// sixProcessesLoseNoKey.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // "--replace durable|setting|working FILE": one write of each kind, for
    // userFilesReachTheDiskBeforeTheyReplaceTheOld.
    if (args.size() == 4 && args[1] == "--replace") {
        if (args[2] == "setting")
            return WriteIniValue("S", "k", "new", args[3]) ? 0 : 1;
        const auto durability =
            args[2] == "durable" ? tarvo::Durability::Durable : tarvo::Durability::Working;
        return tarvo::replaceFileContents(args[3], "[S]\r\nk=new\r\n", durability) ? 0 : 1;
    }
    if (args.size() == 4 && args[1] == "--write-keys") {
        for (int i = 0; i < kKeysPerWriter; ++i)
            if (!WriteIniValue("versions", args[3] + QString::number(i), "1.0", args[2]))
                return 1;
        return 0;
    }
    TestIni t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_ini.moc"
