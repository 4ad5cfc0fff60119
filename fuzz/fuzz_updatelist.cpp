// Fuzz target of the update list, the one file that comes from the network.
// The input is a list as a server sends it. It is read as the update checker
// reads it and compared with the INI layer reading the same file: every title
// (as far as the layer's buffer reaches) and every value of every entry. Then
// each entry's rules must hold: its version takes its place in one order with
// the others (antisymmetric, transitive), its addresses are http or https or
// nothing, a checksum is 32 bytes or nothing, and its target lies in the
// program folder and is never one of the files the checker keeps itself.
#include "appfolder.h"
#include "fuzzcheck.h"
#include "ini/mdlVbNetIni.h"
#include "update/updatelist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>

using namespace tarvo::update;

namespace {

QTemporaryDir* g_dir = nullptr;
QString g_folder;

int sign(int v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

void checkOrder(const QStringList& versions) {
    for (const QString& a : versions) {
        FUZZ_CHECK(compareVersions(a, a) == 0);
        for (const QString& b : versions) {
            const int ab = sign(compareVersions(a, b));
            FUZZ_CHECK(ab == -sign(compareVersions(b, a)));
            for (const QString& c : versions) {
                const int bc = sign(compareVersions(b, c));
                if (ab <= 0 && bc <= 0)
                    FUZZ_CHECK(compareVersions(a, c) <= 0);
                if (ab == 0 && bc == 0)
                    FUZZ_CHECK(compareVersions(a, c) == 0);
            }
        }
    }
}

void checkEntry(const UpdateEntry& e, int n, const QString& file) {
    const QString k = QString::number(n);
    auto layer = [&](const char* section, const char* key) {
        return ReadIniValue(QLatin1String(section), QLatin1String(key) + k, QString(), file);
    };
    FUZZ_CHECK(e.program == layer("ProgramName", "iniProgram"));
    FUZZ_CHECK(e.version == layer("version", "iniVersion"));
    FUZZ_CHECK(e.description == layer("description", "iniDescription"));
    FUZZ_CHECK(e.downloadNow == layer("DownloadNow", "iniDownloadNow"));
    FUZZ_CHECK(e.downloadFrom == layer("DownloadFrom", "iniDownloadFrom"));
    FUZZ_CHECK(e.saveTo == layer("SaveTo", "iniSaveTo"));
    FUZZ_CHECK(e.more == layer("more", "iniMore"));
    FUZZ_CHECK(e.sha256 == layer("SHA256", "iniSHA256"));

    const QUrl base(QStringLiteral("https://updates.example/tarvo2/updates.ini"));
    for (const QString& address : {e.downloadFrom, e.more}) {
        if (const std::optional<QUrl> url = webAddress(address, base)) {
            const QString scheme = url->scheme().toLower();
            FUZZ_CHECK(scheme == QLatin1String("http") || scheme == QLatin1String("https"));
            FUZZ_CHECK(!url->host().isEmpty());
        }
    }
    if (const std::optional<QByteArray> digest = sha256Digest(e.sha256))
        FUZZ_CHECK(digest->size() == 32);

    if (const std::optional<DownloadTarget> target = downloadTarget(e.saveTo)) {
        FUZZ_CHECK(!isManagedFile(target->relative));
        FUZZ_CHECK(target->program == isProgramFile(target->relative));
        const QString path = QDir::cleanPath(QFileInfo(target->path).absoluteFilePath());
        FUZZ_CHECK(path.startsWith(g_folder + QLatin1Char('/')));
        FUZZ_CHECK(!QFileInfo(path).isDir());
    }
    (void)e.replacesProgram();
    (void)e.fastDownload();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_dir = new QTemporaryDir;
    QDir(g_dir->path()).mkpath(QStringLiteral("app"));
    g_folder = QFileInfo(g_dir->filePath(QStringLiteral("app"))).canonicalFilePath();
    // A program folder with the files the checker keeps, as installed.
    for (const char* sub : {"Data", "downloads"})
        QDir(g_folder).mkpath(QLatin1String(sub));
    for (const QString& f : {kVersionsFile, kUrlsFile, kSettingsFile}) {
        QFile file(g_folder + QLatin1Char('/') + f);
        if (file.open(QIODevice::WriteOnly))
            file.write("[x]\r\n");
    }
    tarvo::setAppFolder(g_folder);
    tarvo::setPortableOverride(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Beside the program folder, so that no target can be the list itself.
    const QString file = g_dir->filePath(QStringLiteral("served.ini"));
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(bytes);
    }
    const UpdateList list = UpdateList::fromBytes(bytes);

    // The titles, as far as the INI layer's buffer of key names reaches.
    QStringList layer;
    LoadIniSectionToList(layer, QStringLiteral("title"), file);
    FUZZ_CHECK(list.titles().mid(0, layer.size()) == layer);
    FUZZ_CHECK(list.size() == layer.size() ||
               IniSectionKeyBuffer(QStringLiteral("title"), file).size() >= 2040);
    FUZZ_CHECK(list.isList() || list.size() == 0);

    QStringList versions = {QString(), QStringLiteral("2.0.3"), QStringLiteral("v2.0.3-rc1"),
                            QStringLiteral("2.0.10a")};
    const int entries = qMin(list.size(), 16);
    for (int n = 0; n < entries; ++n) {
        const UpdateEntry e = list.entry(n);
        FUZZ_CHECK(e.title == list.titles()[n]);
        checkEntry(e, n, file);
        if (versions.size() < 8)
            versions << e.version << e.title.left(40);
    }
    FUZZ_CHECK(list.entry(-1).title.isEmpty() && list.entry(list.size()).version.isEmpty());
    checkOrder(versions);
    return 0;
}
