#include "app/CTapoApp.h"

#include <QStringList>

#include "app/CMainFrame.h"
#include "app/CTapoDoc.h"
#include "typing/SdlSoundPlayer.h"
#include "typing/SoundCues.h"

namespace quirtel {

CTapoApp::CTapoApp(int& argc, char** argv) : application_(argc, argv) {
    // The name message boxes carry as their caption.
    QApplication::setApplicationName(QStringLiteral("Tapo"));
}

CTapoApp::~CTapoApp() = default;

bool CTapoApp::InitInstance() {
    sound_ = std::make_unique<SdlSoundPlayer>(SoundCues::SoundFiles());
    document_ = std::make_unique<CTapoDoc>(prompts_);
    frame_ = std::make_unique<CMainFrame>(*document_, clock_, *sound_, prompts_);
    prompts_.SetOwner(frame_.get());

    const QStringList arguments = QApplication::arguments();
    const bool ready = arguments.size() > 1 ? document_->OpenDocumentFile(arguments.at(1))
                                            : document_->OnNewDocument();
    if (!ready) {
        return false;
    }
    frame_->show();
    return true;
}

int CTapoApp::Run() {
    if (!InitInstance()) {
        return 1;
    }
    return QApplication::exec();
}

}  // namespace quirtel
