#include "globals.h"

namespace tarvo {

Globals& globals() {
    static Globals g;
    return g;
}

} // namespace tarvo
