#pragma once

class QString;

namespace quirtel {

// Asks the desktop to open an address (a web or file URL). Links go through
// this, so tests can see what would be opened without starting a browser.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const QString& address) = 0;
};

}  // namespace quirtel
