#include "autoselect.h"

#include "character.h"

namespace tarvo {

AutoSelector::Outcome AutoSelector::click(Character& c, int index) {
    Q_UNUSED(c);
    Q_UNUSED(index);
    return Outcome::Done;
}

AutoSelector::Outcome AutoSelector::AutoSelect(Character& c, const QString& task) {
    Q_UNUSED(c);
    Q_UNUSED(task);
    return Outcome::Done;
}

} // namespace tarvo
