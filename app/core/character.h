// The current character and every rule of choosing it. Each operation here
// is what one control of the wizard does when the user (or AutoSelect, the
// loader, the planning assistant, the name browser) sets it: it updates the
// character's fields, the progress window's summary lines, the review lines
// and their status marks, the descriptions and ChangesMade, and says what
// changed through the signals, which the windows render.
#pragma once

#include "levelplan.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace tarvo {

struct SkillItem {
    QString name;
    bool checked = false;
    friend bool operator==(const SkillItem&, const SkillItem&) = default;
};

class Character : public QObject {
    Q_OBJECT
public:
    // Review lines and status marks, index 0 to 10.
    enum Line {
        LineName,
        LineClassName,
        LineClass,
        LineCharacterName,
        LineGender,
        LineRace,
        LineFavAtt1,
        LineFavAtt2,
        LineBirthsign,
        LineMajor,
        LineMinor,
        LineCount
    };
    // The progress window's summary boxes.
    enum Summary {
        SumRealName,
        SumClassName,
        SumClass,
        SumCharacterName,
        SumGender,
        SumRace,
        SumFavAtt1,
        SumFavAtt2,
        SumMjrSkills,
        SumMnrSkills,
        SumBirthsign,
        SumCount
    };
    // The option groups of the wizard.
    enum Group { GroupClass, GroupRace, GroupGender, GroupFavAtt1, GroupFavAtt2, GroupBirthsign };
    // The description areas of steps two to six.
    enum Area { AreaClass, AreaRace, AreaAttribute, AreaSkill, AreaBirthsign };
    // The text boxes that hold names.
    enum NameBox { BoxRealName, BoxClassName, BoxCharacterName };

    // The longest name a box lets a user type; a longer name from a file is
    // kept whole.
    static constexpr int kNameLimit = 40;
    static constexpr int kSkillLimit = 5;
    static constexpr int kTaskCount = 7; // task lines 0 to 6
    static constexpr int kTaskBoxes = 8; // their done boxes and the reminder box (7)
    static constexpr int kReminderBox = 7;

    explicit Character(QObject* parent = nullptr);

    // --- the record ---------------------------------------------------------
    const QString& RealName() const { return m_realName; }
    const QString& ClassName() const { return m_className; }
    const QString& Class() const { return m_class; }
    const QString& CharacterName() const { return m_characterName; }
    const QString& Race() const { return m_race; }
    const QString& Gender() const { return m_gender; }
    const QString& FavAtt1() const { return m_favAtt1; }
    const QString& FavAtt2() const { return m_favAtt2; }
    const QString& Birthsign() const { return m_birthsign; }
    // The ticked skills in the order they were ticked (the hidden lists).
    const QStringList& majorSkills() const { return m_compileMjr; }
    const QStringList& minorSkills() const { return m_compileMnr; }

    // "Yes" once a choice changed since the last save or load, "No" or empty.
    // Every operation that changes what a profile stores (names, class,
    // race, gender, attributes, skills, birthsign, tasks, level plan) sets it
    // to "Yes".
    const QString& ChangesMade() const { return m_changesMade; }
    void setChangesMade(const QString& value);
    // After a successful save or load: "No", and the character as it stands
    // is what later changes are measured against.
    void markUnchanged();

    // --- what the windows show ----------------------------------------------
    const QString& reviewLine(int i) const { return m_review[size_t(i)]; }
    bool markBlue(int i) const { return m_blue[size_t(i)]; }
    const QString& summary(int i) const { return m_summary[size_t(i)]; }
    // The checked option of a group, -1 for none.
    int checkedOption(Group g) const;
    // The option of group One or Two that the other group's choice disables.
    int disabledFavAtt1Option() const { return m_favAtt2Count ? m_favAtt2Index : -1; }
    int disabledFavAtt2Option() const { return m_favAtt1Count ? m_favAtt1Index : -1; }
    const QString& nameBox(NameBox b) const;
    // Title, text and picture (a path, possibly empty) of a description area.
    const QString& areaTitle(Area a) const { return m_areaTitle[size_t(a)]; }
    const QString& areaText(Area a) const { return m_areaText[size_t(a)]; }
    const QString& areaPicture(Area a) const { return m_areaPicture[size_t(a)]; }
    // The skill lists as shown, in display order.
    const QVector<SkillItem>& skillList(bool major) const { return major ? m_mjr : m_mnr; }
    int checkedCount(bool major) const;
    QString skillFrameCaption(bool major) const;
    // 0: the major list is on show, 1: the minor list.
    int skillFrame() const { return m_skillFrame; }

    // --- choices (one per control) -------------------------------------------
    void setRealName(const QString& text);
    void setClassName(const QString& text);
    void setCharacterName(const QString& text);
    void chooseClass(int index);
    void chooseRace(int index);
    void chooseGender(int index);
    void chooseFavAtt1(int index);
    void chooseFavAtt2(int index);
    void chooseBirthsign(int index);
    // Clears the option buttons of a group; like unchecking a control it
    // changes no field.
    void uncheckGroup(Group g);
    void setSkillFrame(int frame);
    // A click on a skill's name: shows its description.
    void clickSkill(bool major, int position);
    // Ticks or unticks the item at position; a sixth tick is refused.
    void setSkillChecked(bool major, int position, bool checked);
    // Ticks the first item named name; false when no item has that name.
    bool checkSkillByName(bool major, const QString& name);
    // Unticks every ticked item of a list, one at a time.
    void uncheckAllSkills(bool major);
    // Position of the first item named name, or -1.
    int skillPosition(bool major, const QString& name) const;

    // --- tasks ---------------------------------------------------------------
    const QString& taskText(int i) const { return m_taskText[size_t(i)]; }
    // 0 clear, 1 ticked, 2 greyed.
    int taskState(int i) const { return m_taskState[size_t(i)]; }
    bool taskEnabled(int i) const;
    bool taskHighlighted(int i) const { return m_taskHighlight[size_t(i)]; }
    bool taskOpen(int i) const;
    void setTaskText(int i, const QString& text);
    void setTaskState(int i, int state);
    // Highlights the open tasks when the reminder box is ticked; true when
    // the reminder balloon is due.
    bool runTaskReminder();

    // --- the level-up plan (stored with the profile) ---------------------------
    const LevelPlan& levelPlan() const { return m_levelPlan; }
    void setLevelPlan(const LevelPlan& plan);
    // The choices that decide the character sheet, as indexes.
    SheetChoices sheetChoices() const;

    // Before a file is applied: the record, the review lines, the marks and
    // the summary back to their empty texts.
    void resetForLoad();
    // The whole model back to its state at program start (no choice, no
    // task, every list as shipped); every view is told.
    void reset();
    // Entering the review step: a real name that is still empty shows its
    // mark red, whatever it showed before.
    void enterReview();

    // Reads a description file of the program folder (empty when missing).
    static QString description(const QString& relativePath);

signals:
    void reviewChanged(int line);
    void summaryChanged(int box);
    void groupChanged(int group);
    void nameBoxChanged(int box);
    void areaChanged(int area);
    void skillsChanged();
    void skillFrameChanged();
    void taskChanged(int i);
    void changesMadeChanged();
    void levelPlanChanged();

private:
    void setReview(int line, const QString& text);
    void setMark(int line, bool blue);
    void setSummary(int box, const QString& text);
    void setArea(Area a, const QString& title, const QString& text, const QString& picture);
    void loadRaceDescription();
    void chooseFavAtt(bool first, int index);
    void afterSkillTick(bool major);
    void insertInOrder(QVector<SkillItem>& list, const QString& name);
    // Everything a profile stores, for telling whether it changed.
    QStringList storedState() const;
    void noteChange();

    QString m_realName, m_className, m_class, m_characterName, m_race, m_gender, m_favAtt1,
        m_favAtt2, m_birthsign;
    QString m_changesMade;
    QStringList m_unchangedState;
    LevelPlan m_unchangedPlan;
    std::array<QString, LineCount> m_review;
    std::array<bool, LineCount> m_blue{};
    std::array<QString, SumCount> m_summary;
    std::array<int, 6> m_checked;
    std::array<QString, 3> m_nameBox;
    std::array<QString, 5> m_areaTitle, m_areaText, m_areaPicture;
    int m_favAtt1Count = 0, m_favAtt1Index = 0, m_favAtt2Count = 0, m_favAtt2Index = 0;
    QVector<SkillItem> m_mjr, m_mnr;
    QStringList m_compileMjr, m_compileMnr;
    int m_skillFrame = 0;
    std::array<QString, kTaskCount> m_taskText;
    std::array<int, kTaskBoxes> m_taskState{};
    std::array<bool, kTaskCount> m_taskHighlight{};
    LevelPlan m_levelPlan;
};

// The one current character of the program.
Character& character();

} // namespace tarvo
