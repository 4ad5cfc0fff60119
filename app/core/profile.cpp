#include "profile.h"

#include "appfolder.h"
#include "character.h"
#include "ini/mdlVbNetIni.h"
#include "ini/pathresolve.h"
#include "ini/safewrite.h"
#include "ini/textfile.h"
#include "reftables.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace tarvo {

namespace {

struct Entry {
    QString section;
    QString key;
    QString value;
};

// Every key of a profile in the order it is written.
QList<Entry> profileEntries(const Character& c, const QString& date) {
    QList<Entry> e;
    e.append({QStringLiteral("SaveData"), QStringLiteral("iniDate"), date});
    e.append({QStringLiteral("One"), QStringLiteral("iniRealName"), c.RealName()});
    e.append({QStringLiteral("Two"), QStringLiteral("iniClass"), c.Class()});
    e.append({QStringLiteral("Two"), QStringLiteral("iniClassName"), c.ClassName()});
    e.append({QStringLiteral("Three"), QStringLiteral("iniCharacterName"), c.CharacterName()});
    e.append({QStringLiteral("Three"), QStringLiteral("iniRace"), c.Race()});
    e.append({QStringLiteral("Three"), QStringLiteral("iniGender"), c.Gender()});
    e.append({QStringLiteral("Four"), QStringLiteral("iniFavAtt1"), c.FavAtt1()});
    e.append({QStringLiteral("Four"), QStringLiteral("iniFavAtt2"), c.FavAtt2()});
    for (int i = 0; i < c.majorSkills().size(); ++i)
        e.append({QStringLiteral("FiveA"), QStringLiteral("iniMjrSkill%1").arg(i + 1),
                  c.majorSkills()[i]});
    for (int i = 0; i < c.minorSkills().size(); ++i)
        e.append({QStringLiteral("FiveB"), QStringLiteral("iniMnrSkill%1").arg(i + 1),
                  c.minorSkills()[i]});
    e.append({QStringLiteral("Six"), QStringLiteral("iniBirthsign"), c.Birthsign()});
    for (int n = 0; n < Character::kTaskBoxes; ++n) {
        e.append({QStringLiteral("Tasks"), QStringLiteral("iniCheckTask%1").arg(n),
                  QString::number(c.taskState(n))});
        if (n < Character::kTaskCount)
            e.append(
                {QStringLiteral("Tasks"), QStringLiteral("iniTaskName%1").arg(n), c.taskText(n)});
    }
    // The level-up plan has a section of its own, which older versions skip.
    if (!c.levelPlan().isEmpty())
        for (const auto& [key, value] : levelPlanKeys(c.levelPlan()))
            e.append({QStringLiteral("LevelPlan"), key, value});
    return e;
}

// A value with a line break or a NUL character would not stay on its line.
bool allStorable(const QList<Entry>& entries) {
    for (const Entry& e : entries)
        if (!isStorableIniValue(e.value))
            return false;
    return true;
}

// Which text cannot be stored and why, for the user; empty when all can.
QString storageFault(const QList<Entry>& entries) {
    for (const Entry& e : entries) {
        if (isStorableIniValue(e.value))
            continue;
        QString which = QStringLiteral("a name or task text");
        if (e.key == QLatin1String("iniRealName"))
            which = QStringLiteral("your name");
        else if (e.key == QLatin1String("iniClassName"))
            which = QStringLiteral("the class name");
        else if (e.key == QLatin1String("iniCharacterName"))
            which = QStringLiteral("the character's name");
        else if (e.key.startsWith(QLatin1String("iniTaskName")))
            which = QStringLiteral("the text of task %1").arg(e.key.mid(11).toInt() + 1);
        const bool lineBreak =
            e.value.contains(QLatin1Char('\n')) || e.value.contains(QLatin1Char('\r'));
        return lineBreak ? QStringLiteral("%1 holds a line break, which a profile cannot store.")
                               .arg(which)
                         : QStringLiteral("%1 holds a NUL character (an invisible control "
                                          "character), which a profile cannot store. Type it "
                                          "again.")
                               .arg(which);
    }
    return {};
}

// A name the user picked is taken as it stands: "\" is an ordinary
// character in it. Only the program's own paths take either separator and
// any letter case.
QString fileNamed(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return path;
    const QString written = normalizeSeparators(path);
    for (const QString& own : {appFolder(), userDataFolder()}) {
        const QString folder = normalizeSeparators(own);
        if (!folder.isEmpty() && written.startsWith(folder + QLatin1Char('/'), Qt::CaseInsensitive))
            return resolvePath(path);
    }
    return path;
}

// ------------------------------------------------------------ reading ---

// Case folding by code point, as the INI layer's comparison of names.
QString fold(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (const char32_t u : s.toUcs4()) {
        const char32_t f = QChar::toCaseFolded(u);
        if (QChar::requiresSurrogates(f)) {
            out.append(QChar(QChar::highSurrogate(f)));
            out.append(QChar(QChar::lowSurrogate(f)));
        } else {
            out.append(QChar(char16_t(f)));
        }
    }
    return out;
}

// The blanks that the INI layer trims from names.
QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t'))
        --e;
    return s.mid(b, e - b);
}

bool isUtf16(const QByteArray& data) {
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
}

bool looksLikeText(const QByteArray& data, QString* reason) {
    if (data.contains('\0')) {
        *reason = QStringLiteral("the file holds binary data, not a character profile.");
        return false;
    }
    qsizetype control = 0;
    for (const char ch : data) {
        const auto u = static_cast<unsigned char>(ch);
        if ((u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v' &&
             u != 0x1A) ||
            u == 0x7F)
            ++control;
    }
    // Text has next to no control characters; more than a tenth is data.
    if (control * 10 > data.size()) {
        *reason = QStringLiteral("the file holds binary data, not a character profile.");
        return false;
    }
    return true;
}

// Files larger than this are read once into a snapshot instead of once per key.
constexpr qint64 kSnapshotThreshold = 64 * 1024;

int taskStateFrom(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return (ok && v >= 0 && v <= 2) ? v : 0;
}

} // namespace

// ------------------------------------------------------------- writing ---

QByteArray composeProfile(const Character& c, const QString& date) {
    const QList<Entry> entries = profileEntries(c, date);
    if (!allStorable(entries))
        return {};
    // Each section is new when its first key is written, so it is appended
    // to the file, and each key goes after the last one of its section: the
    // file is the sections in order with their keys in order.
    QByteArray out;
    out.reserve(1024);
    QString section;
    for (const Entry& e : entries) {
        if (e.section != section) {
            section = e.section;
            out.append('[');
            out.append(section.toUtf8());
            out.append("]\r\n");
        }
        out.append(e.key.toUtf8());
        out.append('=');
        out.append(iniValueBytes(e.value));
        out.append("\r\n");
    }
    return out;
}

bool writeProfile(const Character& c, const QString& path, QString* reason, Durability durability,
                  const TakeOverQuestion& askTakeOver) {
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString fault = storageFault(profileEntries(c, QString()));
    if (!fault.isEmpty())
        return fail(fault);
    QString why;
    const QString target = writeTarget(fileNamed(path), &why);
    if (target.isEmpty())
        return fail(why);

    QFileInfo fi(target);
    if (fi.exists()) {
        // A file without write permission counts as read-only even for a
        // user who could override it, as the read-only attribute does on
        // Windows.
        const auto writeBits =
            QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!fi.isFile() || !fi.isWritable() || !(fi.permissions() & writeBits))
            return fail(QStringLiteral("the file is read-only."));
    }
    const QFileInfo folder(fi.absolutePath());
    if (!folder.exists())
        return fail(QStringLiteral("the folder %1 does not exist.")
                        .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
    if (!folder.isDir())
        return fail(QStringLiteral("%1 is a file, not a folder.")
                        .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));

    const QString date =
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const QByteArray bytes = composeProfile(c, date);
    QString failure;
    if (!replaceFileContents(fi.absoluteFilePath(), bytes, durability, &failure, askTakeOver))
        return fail(failure);
    return true;
}

// ------------------------------------------------------------- reading ---

IniSnapshot IniSnapshot::fromBytes(const QByteArray& data) {
    IniSnapshot snap;
    QHash<QString, QString>* current = nullptr;
    forEachIniItem(
        data,
        [&](const QString& section) {
            const QString name = fold(section);
            // Only the first section of a name answers; an empty name none.
            current =
                name.isEmpty() || snap.m_sections.contains(name) ? nullptr : &snap.m_sections[name];
        },
        [&](const QString& key, const QString& value) {
            // The first occurrence of a key answers.
            if (!current)
                return;
            const QString name = fold(key);
            if (!current->contains(name))
                current->insert(name, value);
        });
    return snap;
}

QString IniSnapshot::value(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const auto s = m_sections.constFind(fold(trimBlanks(section)));
    if (s != m_sections.constEnd() && !trimBlanks(key).isEmpty()) {
        const auto k = s->constFind(fold(trimBlanks(key)));
        if (k != s->constEnd())
            return *k;
    }
    QString d = defaultValue.left(kIniValueMax);
    if (!d.isEmpty() && d.back().isHighSurrogate())
        d.chop(1);
    return d;
}

ApplyResult applyProfile(Character& c, const QString& path) {
    using Status = ApplyResult::Status;
    const QString file = fileNamed(path);
    const QFileInfo fi(file);
    if (file.isEmpty())
        return {Status::Missing, QStringLiteral("the file does not exist.")};
    if (!fi.exists()) {
        QString why;
        if (fi.isSymLink() && writeTarget(file, &why).isEmpty())
            return {Status::Unreadable, why};
        return {Status::Missing, QStringLiteral("the file does not exist.")};
    }
    if (fi.isDir())
        return {Status::Unreadable, QStringLiteral("it is a folder, not a file.")};
    if (!fi.isFile())
        return {Status::Unreadable, QStringLiteral("it is a device, a FIFO or a socket, not a "
                                                   "regular file.")};
    if (fi.size() > kMaxProfileBytes)
        return {Status::TooLarge, QStringLiteral("the file is larger than 1 MB, far too large "
                                                 "for a character profile.")};
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {Status::Unreadable,
                QStringLiteral("the file cannot be read (%1).").arg(f.errorString())};
    const QByteArray data = f.read(kMaxProfileBytes + 1);
    if (f.error() != QFileDevice::NoError)
        return {Status::Unreadable,
                QStringLiteral("the file cannot be read (%1).").arg(f.errorString())};
    f.close();
    if (data.size() > kMaxProfileBytes)
        return {Status::TooLarge, QStringLiteral("the file is larger than 1 MB, far too large "
                                                 "for a character profile.")};
    QString why;
    // A UTF-16 file (Notepad's "Unicode") is checked as the text it holds.
    if (!looksLikeText(isUtf16(data) ? decodeText(data).toUtf8() : data, &why))
        return {Status::NotText, why};

    std::optional<IniSnapshot> snapshot;
    if (data.size() > kSnapshotThreshold)
        snapshot = IniSnapshot::fromBytes(data);
    auto read = [&](const QString& section, const QString& key, const QString& dflt = QString()) {
        return snapshot ? snapshot->value(section, key, dflt)
                        : ReadIniValue(section, key, dflt, file);
    };

    // Everything is read before anything changes.
    const QString realName = read(QStringLiteral("One"), QStringLiteral("iniRealName"));
    const QString cls = read(QStringLiteral("Two"), QStringLiteral("iniClass"));
    const QString className = read(QStringLiteral("Two"), QStringLiteral("iniClassName"));
    const QString characterName = read(QStringLiteral("Three"), QStringLiteral("iniCharacterName"));
    const QString race = read(QStringLiteral("Three"), QStringLiteral("iniRace"));
    const QString gender = read(QStringLiteral("Three"), QStringLiteral("iniGender"));
    const QString favAtt1 = read(QStringLiteral("Four"), QStringLiteral("iniFavAtt1"));
    const QString favAtt2 = read(QStringLiteral("Four"), QStringLiteral("iniFavAtt2"));
    QStringList major, minor;
    for (int k = 1; k <= Character::kSkillLimit; ++k) {
        major.append(read(QStringLiteral("FiveA"), QStringLiteral("iniMjrSkill%1").arg(k)));
        minor.append(read(QStringLiteral("FiveB"), QStringLiteral("inimnrSkill%1").arg(k)));
    }
    const QString birthsign = read(QStringLiteral("Six"), QStringLiteral("iniBirthsign"));
    int taskState[Character::kTaskBoxes];
    QString taskText[Character::kTaskCount];
    for (int n = 0; n < Character::kTaskBoxes; ++n) {
        taskState[n] = taskStateFrom(read(
            QStringLiteral("Tasks"), QStringLiteral("iniCheckTask%1").arg(n), QStringLiteral("0")));
        if (n < Character::kTaskCount)
            taskText[n] = read(QStringLiteral("Tasks"), QStringLiteral("iniTaskName%1").arg(n));
    }

    const QHash<QString, QString> planKeys = readLevelPlanKeys(
        [&](const QString& key) { return read(QStringLiteral("LevelPlan"), key); });

    // Each value goes through the control it belongs to; a value that
    // matches no option (exactly, letter case included) leaves its group
    // with nothing chosen.
    c.resetForLoad();
    // The detour over the empty text makes the box's change handling run even
    // when the stored name equals the current one.
    c.setRealName(QString());
    c.setRealName(realName);

    c.uncheckGroup(Character::GroupClass);
    if (const int i = specializations().indexOf(cls); i >= 0)
        c.chooseClass(i);

    c.setClassName(QString());
    c.setClassName(className);
    c.setCharacterName(QString());
    c.setCharacterName(characterName);

    c.uncheckGroup(Character::GroupRace);
    if (const int i = races().indexOf(race); i >= 0)
        c.chooseRace(i);

    c.chooseGender(1);
    c.chooseGender(0);
    if (const int i = genders().indexOf(gender); i > 0)
        c.chooseGender(i);

    c.uncheckGroup(Character::GroupFavAtt1);
    if (const int i = attributes().indexOf(favAtt1); i >= 0)
        c.chooseFavAtt1(i);
    c.uncheckGroup(Character::GroupFavAtt2);
    // One attribute cannot be both favourites: a second naming the first
    // stays unset, as an unknown value does.
    if (const int i = attributes().indexOf(favAtt2); i >= 0 && favAtt2 != c.FavAtt1())
        c.chooseFavAtt2(i);

    // Both lists are cleared before either is filled: a skill ticked in the
    // other list is missing from this one until it is unticked there.
    c.uncheckAllSkills(true);
    c.uncheckAllSkills(false);
    for (const QString& s : std::as_const(major))
        if (!s.isEmpty())
            c.checkSkillByName(true, s);
    for (const QString& s : std::as_const(minor))
        if (!s.isEmpty())
            c.checkSkillByName(false, s);

    c.uncheckGroup(Character::GroupBirthsign);
    if (const int i = birthsigns().indexOf(birthsign); i >= 0)
        c.chooseBirthsign(i);

    for (int n = 0; n < Character::kTaskBoxes; ++n) {
        c.setTaskState(n, taskState[n]);
        if (n < Character::kTaskCount)
            c.setTaskText(n, taskText[n]);
    }
    // Plans of older versions are turned into skills for the loaded character.
    c.setLevelPlan(levelPlanFromKeys(planKeys, computeSheet(c.sheetChoices())));
    c.markUnchanged();
    return {};
}

} // namespace tarvo
