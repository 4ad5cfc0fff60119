// Reading one key, as the program does on every call (the file is opened and
// parsed again each time): our INI layer against QSettings and inih, on the
// same files. Writing one key with our layer.
#include "ini/mdlVbNetIni.h"

#include <QCoreApplication>
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
QString makeFile(int lines) {
    const QString path = dir().filePath(QStringLiteral("bench%1.ini").arg(lines));
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
    return path;
}

struct Target {
    QString file;
    QString section;
    QString key;
};

Target target(int lines) {
    const QString file = makeFile(lines);
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
