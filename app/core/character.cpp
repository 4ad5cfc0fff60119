#include "character.h"

#include "appfolder.h"
#include "ini/textfile.h"
#include "reftables.h"

namespace tarvo {

namespace {

const std::array<QString, Character::LineCount> kReviewAtStart = {
    QStringLiteral("Name: "),
    QStringLiteral("Class Name:"),
    QStringLiteral("Class:"),
    QStringLiteral("Character Name: "),
    QStringLiteral("Gender: "),
    QStringLiteral("Race: "),
    QStringLiteral("Favourite Attribute 1: "),
    QStringLiteral("Favourite Attribute 2: "),
    QStringLiteral("Birthsign: "),
    QStringLiteral("Major Skills: "),
    QStringLiteral("Minor Skills: ")};

// What a loaded file starts from (the class lines keep their blank here).
const std::array<QString, Character::LineCount> kReviewOnLoad = {
    QStringLiteral("Name: "),
    QStringLiteral("Class Name: "),
    QStringLiteral("Class: "),
    QStringLiteral("Character Name: "),
    QStringLiteral("Gender: "),
    QStringLiteral("Race: "),
    QStringLiteral("Favourite Attribute 1: "),
    QStringLiteral("Favourite Attribute 2: "),
    QStringLiteral("Birthsign: "),
    QStringLiteral("Major Skills: "),
    QStringLiteral("Minor Skills: ")};

const std::array<QString, Character::SumCount> kSummaryEmpty = {
    QStringLiteral("Name: "),         QStringLiteral("Class Name: "),
    QStringLiteral("Class: "),        QStringLiteral("Character Name: "),
    QStringLiteral("Gender: "),       QStringLiteral("Race: "),
    QStringLiteral("Attribute 1: "),  QStringLiteral("Attribute 2: "),
    QStringLiteral("Major Skills: "), QStringLiteral("Minor Skills: "),
    QStringLiteral("Birthsign: ")};

const QString kInformation = QStringLiteral("INFORMATION");

const std::array<QString, 5> kAreaHints = {
    QStringLiteral("Select a skill from the Class Specialization box on\n"
                   "the left to find out more about that class.\n"
                   "\n"
                   "You can also find out more about each class on\n"
                   "the internet by using the related buttons."),
    QStringLiteral("Select a race from the Character Race box on the\n"
                   "right to find out about the specific bonuses and\n"
                   "skills associated with that race.\n"
                   "\n"
                   "Remember, different genders also have different skills."),
    QStringLiteral("Select a skill from the list of attributes on\n"
                   "the right to find out more about that attributel.\n"
                   "\n"
                   "You can also find out more about each attribute on\n"
                   "the internet by using the related buttons."),
    QStringLiteral("Click the checkbox on the skills you want to select. Single click the name "
                   "of a skill to find out more about it.\n"
                   "\n"
                   "You can also find out more about choosing major\n"
                   "and minor skills by clicking the External Link button\n"
                   "below"),
    QStringLiteral("Select a skill from the drop down boxes on the right to find out more about "
                   "that skill\n"
                   "\n"
                   "You can also find out more about choosing major and minor skills by clicking "
                   "the External Link button below")};

QVector<SkillItem> allSkills() {
    QVector<SkillItem> items;
    for (const QString& s : skills())
        items.append({s, false});
    return items;
}

} // namespace

Character& character() {
    static Character c;
    return c;
}

Character::Character(QObject* parent) : QObject(parent) {
    m_review = kReviewAtStart;
    m_summary = kSummaryEmpty;
    m_checked.fill(-1);
    for (int a = 0; a < 5; ++a) {
        m_areaTitle[size_t(a)] = kInformation;
        m_areaText[size_t(a)] = kAreaHints[size_t(a)];
    }
    m_mjr = allSkills();
    m_mnr = allSkills();
    m_unchangedState = storedState();
    m_unchangedPlan = m_levelPlan;
}

QString Character::description(const QString& relativePath) {
    QString text = readTextFile(appPath(relativePath));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void Character::setChangesMade(const QString& value) {
    if (m_changesMade == value)
        return;
    m_changesMade = value;
    emit changesMadeChanged();
}

QStringList Character::storedState() const {
    // A character without a gender is saved and loaded back as male.
    QStringList state{m_realName,
                      m_className,
                      m_class,
                      m_characterName,
                      m_race,
                      m_gender.isEmpty() ? genders().value(0) : m_gender,
                      m_favAtt1,
                      m_favAtt2,
                      m_birthsign,
                      m_compileMjr.join(QLatin1Char('\n')),
                      m_compileMnr.join(QLatin1Char('\n'))};
    for (const QString& t : m_taskText)
        state.append(t);
    for (int s : m_taskState)
        state.append(QString::number(s));
    return state;
}

void Character::noteChange() {
    // Once set, the mark stays until the next save or load, even if the
    // character is changed back.
    if (m_changesMade != QLatin1String("Yes") &&
        (storedState() != m_unchangedState || m_levelPlan != m_unchangedPlan))
        setChangesMade(QStringLiteral("Yes"));
}

void Character::markUnchanged() {
    m_unchangedState = storedState();
    m_unchangedPlan = m_levelPlan;
    setChangesMade(QStringLiteral("No"));
}

int Character::checkedOption(Group g) const {
    return m_checked[size_t(g)];
}

const QString& Character::nameBox(NameBox b) const {
    return m_nameBox[size_t(b)];
}

int Character::checkedCount(bool major) const {
    int n = 0;
    for (const SkillItem& i : skillList(major))
        n += i.checked ? 1 : 0;
    return n;
}

QString Character::skillFrameCaption(bool major) const {
    return QStringLiteral("Five %1 Skills (%2 remaining)")
        .arg(major ? QStringLiteral("Major") : QStringLiteral("Minor"))
        .arg(kSkillLimit - checkedCount(major));
}

int Character::skillPosition(bool major, const QString& name) const {
    const QVector<SkillItem>& list = skillList(major);
    for (int i = 0; i < list.size(); ++i)
        if (list[i].name == name)
            return i;
    return -1;
}

// ------------------------------------------------------------ helpers ---

void Character::setReview(int line, const QString& text) {
    if (m_review[size_t(line)] == text)
        return;
    m_review[size_t(line)] = text;
    emit reviewChanged(line);
}

void Character::setMark(int line, bool blue) {
    if (m_blue[size_t(line)] == blue)
        return;
    m_blue[size_t(line)] = blue;
    emit reviewChanged(line);
}

void Character::setSummary(int box, const QString& text) {
    if (m_summary[size_t(box)] != text) {
        m_summary[size_t(box)] = text;
        emit summaryChanged(box);
    }
    // The review step shows the skill lines as the progress window has them.
    if (box == SumMjrSkills)
        setReview(LineMajor, text);
    else if (box == SumMnrSkills)
        setReview(LineMinor, text);
}

void Character::setArea(Area a, const QString& title, const QString& text, const QString& picture) {
    m_areaTitle[size_t(a)] = title;
    m_areaText[size_t(a)] = text;
    m_areaPicture[size_t(a)] = picture;
    emit areaChanged(a);
}

// ------------------------------------------------------------ names ---

void Character::setRealName(const QString& text) {
    m_realName = text;
    m_nameBox[BoxRealName] = m_realName;
    emit nameBoxChanged(BoxRealName);
    setSummary(SumRealName, QStringLiteral("Name: ") + m_realName);
    noteChange();
    setReview(LineName, QStringLiteral("Name: ") + m_realName);
    setMark(LineName, !m_realName.isEmpty());
}

void Character::setClassName(const QString& text) {
    m_className = text;
    m_nameBox[BoxClassName] = m_className;
    emit nameBoxChanged(BoxClassName);
    setSummary(SumClassName, QStringLiteral("Class Name: ") + m_className);
    setReview(LineClassName, QStringLiteral("Class Name: ") + m_className);
    noteChange();
    // An emptied class name leaves its mark as it was.
    if (!m_className.isEmpty())
        setMark(LineClassName, true);
}

void Character::setCharacterName(const QString& text) {
    m_characterName = text;
    m_nameBox[BoxCharacterName] = m_characterName;
    emit nameBoxChanged(BoxCharacterName);
    setSummary(SumCharacterName, QStringLiteral("Character: ") + m_characterName);
    setMark(LineCharacterName, !m_characterName.isEmpty());
    setReview(LineCharacterName, QStringLiteral("Character Name: ") + m_characterName);
    noteChange();
}

// ---------------------------------------------------------- options ---

void Character::uncheckGroup(Group g) {
    if (m_checked[size_t(g)] == -1)
        return;
    m_checked[size_t(g)] = -1;
    emit groupChanged(g);
}

void Character::chooseClass(int index) {
    if (index < 0 || index >= specializations().size())
        return;
    m_checked[GroupClass] = index;
    emit groupChanged(GroupClass);
    m_class = specializations()[index];
    setSummary(SumClass, QStringLiteral("Class: ") + m_class);
    noteChange();
    setArea(AreaClass, m_class, description(QStringLiteral("/Data/Class/") + m_class + ".txt"),
            QString());
    setMark(LineClass, true);
    setReview(LineClass, QStringLiteral("Class: ") + m_class);
}

void Character::loadRaceDescription() {
    setArea(AreaRace, m_race,
            description(QStringLiteral("\\Data\\Race\\") + m_race + m_gender + ".txt"),
            appPath(QStringLiteral("\\Data\\Race\\") + m_race + ".JPG"));
}

void Character::chooseRace(int index) {
    if (index < 0 || index >= races().size())
        return;
    m_checked[GroupRace] = index;
    emit groupChanged(GroupRace);
    m_race = races()[index];
    setSummary(SumRace, QStringLiteral("Race: ") + m_race);
    loadRaceDescription();
    setMark(LineRace, true);
    setReview(LineRace, QStringLiteral("Race: ") + m_race);
    noteChange();
}

void Character::chooseGender(int index) {
    if (index < 0 || index >= genders().size())
        return;
    m_checked[GroupGender] = index;
    emit groupChanged(GroupGender);
    m_gender = genders()[index];
    setSummary(SumGender, QStringLiteral("Gender: ") + m_gender);
    setReview(LineGender, QStringLiteral("Gender: ") + m_gender);
    // The race description follows the gender.
    if (!m_race.isEmpty())
        loadRaceDescription();
    setMark(LineGender, !m_gender.isEmpty());
    noteChange();
}

void Character::chooseFavAtt(bool first, int index) {
    if (index < 0 || index >= attributes().size())
        return;
    const Group group = first ? GroupFavAtt1 : GroupFavAtt2;
    int& count = first ? m_favAtt1Count : m_favAtt2Count;
    int& current = first ? m_favAtt1Index : m_favAtt2Index;
    QString& field = first ? m_favAtt1 : m_favAtt2;

    m_checked[size_t(group)] = index;
    field = attributes()[index];
    // The other group's option at the old index comes back, the new one goes.
    ++count;
    current = index;
    emit groupChanged(GroupFavAtt1);
    emit groupChanged(GroupFavAtt2);
    setArea(AreaAttribute, field, description(QStringLiteral("/Data/Attributes/") + field + ".txt"),
            QString());
    if (first) {
        setSummary(SumFavAtt1, QStringLiteral("Attribute 1: ") + field);
        setReview(LineFavAtt1, QStringLiteral("Favourite Attribute 1: ") + field);
        setMark(LineFavAtt1, true);
    } else {
        setSummary(SumFavAtt2, QStringLiteral("Attribute 2: ") + field);
        setReview(LineFavAtt2, QStringLiteral("Favourite Attribute 2: ") + field);
        setMark(LineFavAtt2, true);
    }
    noteChange();
}

void Character::chooseFavAtt1(int index) {
    chooseFavAtt(true, index);
}
void Character::chooseFavAtt2(int index) {
    chooseFavAtt(false, index);
}

void Character::chooseBirthsign(int index) {
    if (index < 0 || index >= birthsigns().size())
        return;
    m_checked[GroupBirthsign] = index;
    emit groupChanged(GroupBirthsign);
    m_birthsign = birthsigns()[index];
    setArea(AreaBirthsign, m_birthsign,
            description(QStringLiteral("\\Data\\Birthsigns\\") + m_birthsign + ".txt"),
            appPath(QStringLiteral("\\Data\\Birthsigns\\") + m_birthsign + ".JPG"));
    setSummary(SumBirthsign, QStringLiteral("Birthsign: ") + m_birthsign);
    setMark(LineBirthsign, true);
    setReview(LineBirthsign, QStringLiteral("Birthsign: ") + m_birthsign);
    noteChange();
}

// ----------------------------------------------------------- skills ---

void Character::setSkillFrame(int frame) {
    if (frame != 0 && frame != 1)
        return;
    m_skillFrame = frame;
    emit skillFrameChanged();
}

void Character::clickSkill(bool major, int position) {
    const QVector<SkillItem>& list = skillList(major);
    if (position < 0 || position >= list.size())
        return;
    const QString& name = list[position].name;
    setArea(AreaSkill, name, description(QStringLiteral("/Data/Skills/") + name + ".txt"),
            QString());
}

void Character::insertInOrder(QVector<SkillItem>& list, const QString& name) {
    // A skill that comes back takes its place in the game's order.
    const int order = skillOrder(name);
    int at = list.size();
    if (order >= 0) {
        for (int i = 0; i < list.size(); ++i) {
            const int o = skillOrder(list[i].name);
            if (o > order) {
                at = i;
                break;
            }
        }
    }
    list.insert(at, {name, false});
}

void Character::setSkillChecked(bool major, int position, bool checked) {
    QVector<SkillItem>& list = major ? m_mjr : m_mnr;
    QVector<SkillItem>& other = major ? m_mnr : m_mjr;
    QStringList& compiled = major ? m_compileMjr : m_compileMnr;
    if (position < 0 || position >= list.size() || list[position].checked == checked)
        return;
    const QString name = list[position].name;
    list[position].checked = checked;
    const int n = checkedCount(major);

    if (checked) {
        if (n <= kSkillLimit) {
            compiled.append(name);
            for (int i = 0; i < other.size(); ++i) {
                if (other[i].name == name) {
                    other.removeAt(i);
                    break;
                }
            }
        } else {
            // A sixth skill is refused without a word.
            list[position].checked = false;
        }
    } else {
        insertInOrder(other, name);
        compiled.removeOne(name);
    }
    emit skillsChanged();
    afterSkillTick(major);
    noteChange();
}

void Character::afterSkillTick(bool major) {
    QString text = major ? QStringLiteral("Major Skills: ") : QStringLiteral("Minor Skills: ");
    for (const SkillItem& i : skillList(major))
        if (i.checked)
            text += i.name + QStringLiteral(", ");
    setSummary(major ? SumMjrSkills : SumMnrSkills, text);
    setMark(major ? LineMajor : LineMinor, checkedCount(major) != 0);
}

bool Character::checkSkillByName(bool major, const QString& name) {
    const int position = skillPosition(major, name);
    if (position < 0)
        return false;
    setSkillChecked(major, position, true);
    return true;
}

void Character::uncheckAllSkills(bool major) {
    for (;;) {
        const QVector<SkillItem>& list = skillList(major);
        int ticked = -1;
        for (int i = 0; i < list.size(); ++i) {
            if (list[i].checked) {
                ticked = i;
                break;
            }
        }
        if (ticked < 0)
            return;
        setSkillChecked(major, ticked, false);
    }
}

// ------------------------------------------------------------ tasks ---

bool Character::taskEnabled(int i) const {
    if (i < 0 || i >= kTaskBoxes)
        return false;
    return i == kReminderBox || !m_taskText[size_t(i)].isEmpty();
}

bool Character::taskOpen(int i) const {
    return i >= 0 && i < kTaskCount && !m_taskText[size_t(i)].isEmpty() &&
           m_taskState[size_t(i)] == 0;
}

void Character::setTaskText(int i, const QString& text) {
    if (i < 0 || i >= kTaskCount)
        return;
    m_taskText[size_t(i)] = text;
    // A task without text cannot be done.
    if (text.isEmpty())
        m_taskState[size_t(i)] = 0;
    emit taskChanged(i);
    noteChange();
}

void Character::setTaskState(int i, int state) {
    if (i < 0 || i >= kTaskBoxes)
        return;
    m_taskState[size_t(i)] = (state >= 0 && state <= 2) ? state : 0;
    if (i < kTaskCount && m_taskState[size_t(i)] == 1)
        m_taskHighlight[size_t(i)] = false;
    emit taskChanged(i);
    noteChange();
}

bool Character::runTaskReminder() {
    if (m_taskState[kReminderBox] != 1)
        return false;
    bool anyOpen = false;
    for (int i = 0; i < kTaskCount; ++i) {
        if (taskOpen(i)) {
            m_taskHighlight[size_t(i)] = true;
            anyOpen = true;
            emit taskChanged(i);
        }
    }
    return anyOpen;
}

// ------------------------------------------------------------- load ---

void Character::setLevelPlan(const LevelPlan& plan) {
    if (plan == m_levelPlan)
        return;
    m_levelPlan = plan;
    noteChange();
    emit levelPlanChanged();
}

SheetChoices Character::sheetChoices() const {
    SheetChoices c;
    c.race = races().indexOf(m_race);
    c.gender = m_gender.isEmpty() ? -1 : genders().indexOf(m_gender);
    c.specialization = specializations().indexOf(m_class);
    c.favourite1 = attributes().indexOf(m_favAtt1);
    c.favourite2 = attributes().indexOf(m_favAtt2);
    c.birthsign = birthsigns().indexOf(m_birthsign);
    for (const QString& s : m_compileMjr)
        if (const int i = skillOrder(s); i >= 0)
            c.major << i;
    for (const QString& s : m_compileMnr)
        if (const int i = skillOrder(s); i >= 0)
            c.minor << i;
    return c;
}

void Character::resetForLoad() {
    if (!(m_levelPlan == LevelPlan())) {
        m_levelPlan = {};
        emit levelPlanChanged();
    }
    m_realName.clear();
    m_className.clear();
    m_class.clear();
    m_race.clear();
    m_characterName.clear();
    m_favAtt1.clear();
    m_favAtt2.clear();
    m_birthsign.clear();
    m_gender = QStringLiteral("Male");
    for (int i = 0; i < LineCount; ++i) {
        setReview(i, kReviewOnLoad[size_t(i)]);
        setMark(i, false);
    }
    for (int i = 0; i < SumCount; ++i)
        setSummary(i, kSummaryEmpty[size_t(i)]);
}

void Character::reset() {
    if (!(m_levelPlan == LevelPlan())) {
        m_levelPlan = {};
        emit levelPlanChanged();
    }
    m_realName.clear();
    m_className.clear();
    m_class.clear();
    m_characterName.clear();
    m_race.clear();
    m_gender.clear();
    m_favAtt1.clear();
    m_favAtt2.clear();
    m_birthsign.clear();
    m_favAtt1Count = m_favAtt1Index = m_favAtt2Count = m_favAtt2Index = 0;
    m_mjr = allSkills();
    m_mnr = allSkills();
    m_compileMjr.clear();
    m_compileMnr.clear();
    m_skillFrame = 0;
    m_checked.fill(-1);
    for (QString& box : m_nameBox)
        box.clear();
    m_taskText.fill(QString());
    m_taskState.fill(0);
    m_taskHighlight.fill(false);
    for (int i = 0; i < LineCount; ++i) {
        m_review[size_t(i)] = kReviewAtStart[size_t(i)];
        m_blue[size_t(i)] = false;
        emit reviewChanged(i);
    }
    for (int i = 0; i < SumCount; ++i) {
        m_summary[size_t(i)] = kSummaryEmpty[size_t(i)];
        emit summaryChanged(i);
    }
    for (int a = 0; a < 5; ++a)
        setArea(Area(a), kInformation, kAreaHints[size_t(a)], QString());
    for (int g = GroupClass; g <= GroupBirthsign; ++g)
        emit groupChanged(g);
    for (int b = BoxRealName; b <= BoxCharacterName; ++b)
        emit nameBoxChanged(b);
    emit skillsChanged();
    emit skillFrameChanged();
    for (int i = 0; i < kTaskBoxes; ++i)
        emit taskChanged(i);
    m_changesMade.clear();
    m_unchangedState = storedState();
    m_unchangedPlan = m_levelPlan;
    emit changesMadeChanged();
}

void Character::enterReview() {
    if (m_realName.isEmpty())
        setMark(LineName, false);
}

} // namespace tarvo
