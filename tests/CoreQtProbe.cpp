// Must not compile: the core library gets no Qt include path.
#include <QString>

#include "core/common/Cp1252.h"

int CoreQtProbe() {
    return static_cast<int>(QString().size());
}
