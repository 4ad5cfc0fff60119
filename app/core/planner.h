// The planning assistant's rules: from three activity levels, up to three
// keywords and two answers, a whole character (specialization, race,
// favourite attributes, five major and five minor skills, birthsign), and
// the profile file that carries it to the wizard.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace tarvo {

struct PlannerAnswers {
    int casting = 1;
    int fighting = 1;
    int sneaking = 1;
    // Destructive, Quick, Strong, Intelligent, Sociable, Defensive.
    std::array<bool, 6> keywords{};
    // 0 hurting, 1 helping, 2 using others.
    int others = 0;
    // 0 wandering aimlessly, 1 adventuring on task, 2 staying close to home.
    int personal = 0;
};

struct PlannedCharacter {
    QString specialization;
    QString race;
    QString favAtt1;
    QString favAtt2;
    // Empty text where no keyword filled a slot.
    std::array<QString, 5> major;
    std::array<QString, 5> minor;
    QString birthsign;
};

inline constexpr int kPlannerKeywords = 6;

// "Combat", "Magic" or "Stealth" from the activity levels; empty when they
// are too even to decide.
QString plannedSpecialization(int casting, int fighting, int sneaking);

// The whole character, or nothing when no specialization can be decided.
// A keyword pair may repeat a skill of another pair; such a character is
// kept as it is and the loader decides which list keeps the skill.
std::optional<PlannedCharacter> planCharacter(const PlannerAnswers& answers);

// The profile bytes (sections SaveData, Two, Three, Four, FiveA, FiveB, Six;
// CR LF line ends, UTF-8), written whole: no name, gender or task keys.
QByteArray composePlannedProfile(const PlannedCharacter& plan, const QString& date);

} // namespace tarvo
