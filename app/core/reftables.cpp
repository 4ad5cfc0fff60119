#include "reftables.h"

namespace tarvo {

const QStringList& races() {
    static const QStringList list = {"Argonian", "Breton", "Dark Elf", "High Elf", "Imperial",
                                     "Khajit",   "Nord",   "Orc",      "Redguard", "Wood Elf"};
    return list;
}

const QStringList& genders() {
    static const QStringList list = {"Male", "Female"};
    return list;
}

const QStringList& specializations() {
    static const QStringList list = {"Combat", "Magic", "Stealth"};
    return list;
}

const QStringList& attributes() {
    static const QStringList list = {"Strength", "Intelligence", "Willpower",   "Agility",
                                     "Speed",    "Endurance",    "Personality", "Luck"};
    return list;
}

const QStringList& skills() {
    static const QStringList list = {// Combat
                                     "Block", "Armourer", "Medium Armour", "Heavy Armour",
                                     "Blunt Weapon", "Long Blade", "Axe", "Spear", "Athletics",
                                     // Magic
                                     "Destruction", "Alteration", "Illusion", "Conjuration",
                                     "Mysticism", "Restoration", "Enchant", "Alchemy", "Unarmoured",
                                     // Stealth
                                     "Security", "Sneak", "Acrobatics", "Light Armour",
                                     "Short Blade", "Marksman", "Mercantile", "Speechcraft",
                                     "Hand to Hand"};
    return list;
}

QStringList skillsOf(int specialization) {
    if (specialization < 0 || specialization > 2)
        return {};
    return skills().mid(specialization * 9, 9);
}

int skillOrder(const QString& skill) {
    return skills().indexOf(skill);
}

int specializationOfSkill(const QString& skill) {
    const int i = skillOrder(skill);
    return i < 0 ? -1 : i / 9;
}

const QStringList& birthsigns() {
    static const QStringList list = {"The Mage",    "The Apprentice", "The Atronach", "The Ritual",
                                     "The Warrior", "The Tower",      "The Steed",    "The Lady",
                                     "The Lord",    "The Thief",      "The Lover",    "The Serpent",
                                     "The Shadow"};
    return list;
}

const QStringList& stepWords() {
    static const QStringList list = {"One", "Two",   "Three", "Four", "Five",
                                     "Six", "Seven", "Eight", "Nine"};
    return list;
}

const QStringList& stepTasks() {
    static const QStringList list = {
        "Setting your Real Name.",
        "Selecting your Class Name and Specialization.",
        "Selecting your Character's Name, Race and Gender.",
        "Selecting your two Favourite Attributes.",
        "Selecting your five Major and Minor skills.",
        "Selecting your Birthsign.",
        "Reviewing and confirming your selected options.",
        "Outputing your selected options via saving, copying or printing.",
        "Accessing further resources on the web."};
    return list;
}

} // namespace tarvo
