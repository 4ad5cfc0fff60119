// Reading one key: our INI layer against QSettings (a new object per read) and
// inih (the file parsed per read), on the same files. Our layer checks the
// file with one stat per read and reads it again only when it has changed;
// BM_ReadIniValueChanged measures the read of a file that has just changed
// (its time is set ahead, so it never counts as unchanged). Writing one key
// with our layer.
#include "ini/mdlVbNetIni.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#ifdef TARVO_HAVE_INIH
#include <cstring>
#include <ini.h>
#endif

namespace {

QTemporaryDir& dir() {
    static QTemporaryDir d;
    return d;
}

// A file of `lines` lines in sections of 20 keys; the key looked up is the
// last one of the last section.
QString makeFile(int lines, const char* name = "bench", qint64 ageSeconds = 3600) {
    const QString path =
        dir().filePath(QStringLiteral("%1%2.ini").arg(QLatin1String(name)).arg(lines));
    if (QFile::exists(path))
        return path;
    QByteArray text;
    int written = 0;
    int section = 0;
    while (written < lines) {
        text += "[Section" + QByteArray::number(section) + "]\r\n";
        ++written;
        for (int k = 0; k < 19 && written < lines; ++k, ++written)
            text += "iniKey" + QByteArray::number(k) + "=Some value number " +
                    QByteArray::number(section * 100 + k) + "\r\n";
        ++section;
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    f.flush();
    // A program's settings files were written long before they are read.
    f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                  QFileDevice::FileModificationTime);
    return path;
}

struct Target {
    QString file;
    QString section;
    QString key;
};

Target target(int lines, const char* name = "bench", qint64 ageSeconds = 3600) {
    const QString file = makeFile(lines, name, ageSeconds);
    // The last entry of the file.
    const int sections = (lines + 19) / 20;
    const int keysInLast = (lines - 1) - (sections - 1) * 20;
    return {file, QStringLiteral("Section%1").arg(sections - 1),
            QStringLiteral("iniKey%1").arg(keysInLast - 1)};
}

void BM_ReadIniValue(benchmark::State& state) {
    const Target t = target(int(state.range(0)));
    for (auto _ : state) {
        QString v = ReadIniValue(t.section, t.key, QString(), t.file);
        benchmark::DoNotOptimize(v);
    }
}

void BM_ReadIniValueChanged(benchmark::State& state) {
    const Target t = target(int(state.range(0)), "changed", -3600);
    for (auto _ : state) {
        QString v = ReadIniValue(t.section, t.key, QString(), t.file);
        benchmark::DoNotOptimize(v);
    }
}

void BM_QSettings(benchmark::State& state) {
    const Target t = target(int(state.range(0)));
    const QString key = t.section + QLatin1Char('/') + t.key;
    for (auto _ : state) {
        QSettings s(t.file, QSettings::IniFormat);
        QString v = s.value(key).toString();
        benchmark::DoNotOptimize(v);
    }
}

#ifdef TARVO_HAVE_INIH
struct InihLookup {
    const char* section;
    const char* key;
    std::string value;
};

int inihHandler(void* user, const char* section, const char* name, const char* value) {
    auto* l = static_cast<InihLookup*>(user);
    if (l->value.empty() && strcasecmp(section, l->section) == 0 && strcasecmp(name, l->key) == 0)
        l->value = value;
    return 1;
}

void BM_Inih(benchmark::State& state) {
    const Target t = target(int(state.range(0)));
    const QByteArray file = QFile::encodeName(t.file);
    const QByteArray section = t.section.toUtf8();
    const QByteArray key = t.key.toUtf8();
    for (auto _ : state) {
        InihLookup l{section.constData(), key.constData(), {}};
        ini_parse(file.constData(), inihHandler, &l);
        QString v = QString::fromStdString(l.value);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_Inih)->Arg(40)->Arg(2000);
#endif

void BM_WriteIniValue(benchmark::State& state) {
    const Target t = target(int(state.range(0)));
    const QString copy = t.file + QStringLiteral(".w");
    QFile::remove(copy);
    QFile::copy(t.file, copy);
    int i = 0;
    for (auto _ : state)
        WriteIniValue(t.section, t.key, QString::number(++i), copy);
}

BENCHMARK(BM_ReadIniValue)->Arg(40)->Arg(2000);
BENCHMARK(BM_ReadIniValueChanged)->Arg(40)->Arg(2000);
BENCHMARK(BM_QSettings)->Arg(40)->Arg(2000);
BENCHMARK(BM_WriteIniValue)->Arg(40)->Arg(2000);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
