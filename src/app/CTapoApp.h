#pragma once

#include <QApplication>
#include <QWidget>
#include <memory>

#include "core/common/Clock.h"
#include "gui/common/QtPrompts.h"

namespace quirtel {

class CMainFrame;
class CTapoDoc;
class LockStateSource;
class SoundPlayer;

// The application: one per process. Start-up installs Qt's Spanish texts,
// makes sure the profile keys exist, builds the document, the main window at
// its remembered placement and the typing view (which loads the word list and
// reports a list it cannot read before any window shows), sets up the first
// test and shows the window.
class CTapoApp {
public:
    CTapoApp(int& argc, char** argv);
    ~CTapoApp();
    CTapoApp(const CTapoApp&) = delete;
    CTapoApp& operator=(const CTapoApp&) = delete;

    // The start-up. A file named on the command line is opened as the
    // document; false when it cannot be, and the program ends.
    bool InitInstance();
    // InitInstance, then the event loop; the process's exit code.
    int Run();

    CMainFrame* MainFrame() const { return frame_.get(); }

private:
    QApplication application_;
    SystemClock clock_;
    std::unique_ptr<SoundPlayer> sound_;
    std::unique_ptr<LockStateSource> lockStates_;
    QtPrompts prompts_;
    std::unique_ptr<CTapoDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace quirtel
