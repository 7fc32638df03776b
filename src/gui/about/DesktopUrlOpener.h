#pragma once

#include "gui/about/UrlOpener.h"

namespace quirtel {

// Opens addresses with the desktop's default application. Whether that worked
// is not reported: the desktop shows its own message when it cannot.
class DesktopUrlOpener final : public UrlOpener {
public:
    void Open(const QString& address) override;
};

}  // namespace quirtel
