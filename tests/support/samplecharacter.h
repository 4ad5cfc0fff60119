// The finished character the output tests and benchmarks share: a Dark Elf
// spellwright born under the Atronach, every choice made.
#pragma once

#include "character.h"
#include "reftables.h"

#include <QString>

namespace tarvo::test {

inline void buildSampleCharacter(const QString& realName = QStringLiteral("Ada")) {
    Character& c = character();
    c.setRealName(realName);
    c.setClassName(QStringLiteral("Spellwright"));
    c.chooseClass(1);
    c.setCharacterName(QStringLiteral("Veya Indoril"));
    c.chooseRace(races().indexOf(QStringLiteral("Dark Elf")));
    c.chooseGender(1);
    c.chooseFavAtt1(attributes().indexOf(QStringLiteral("Willpower")));
    c.chooseFavAtt2(attributes().indexOf(QStringLiteral("Luck")));
    for (const char* s : {"Mysticism", "Destruction", "Alteration", "Block", "Sneak"})
        c.checkSkillByName(true, QString::fromLatin1(s));
    for (const char* s : {"Speechcraft", "Alchemy", "Enchant", "Illusion", "Long Blade"})
        c.checkSkillByName(false, QString::fromLatin1(s));
    c.chooseBirthsign(birthsigns().indexOf(QStringLiteral("The Atronach")));
}

} // namespace tarvo::test
