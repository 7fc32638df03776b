#pragma once

#include <QString>

namespace quirtel {

// The file URL of the user manual: the installed copy
// (<applicationDir>/../share/doc/quirtel/manual.html, beside an installed
// binary), else the copy in the source tree the program was built from (when
// it runs from a build folder), else the installed location all the same.
QString ManualAddress(const QString& applicationDir, const QString& sourceManual);
// The same for this program: its own folder and the source tree it was built from.
QString ManualAddress();

}  // namespace quirtel
