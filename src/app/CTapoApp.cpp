#include "app/CTapoApp.h"

#include <QStringList>
#include <csignal>
#include <cstdio>

#include "app/CMainFrame.h"
#include "app/CTapoDoc.h"
#include "app/DataFolderSoundPlayer.h"
#include "app/SpanishTranslations.h"
#include "core/common/Cp1252.h"
#include "core/session/SoundCues.h"
#include "core/settings/ProfileKeys.h"
#include "core/settings/RegistryFile.h"
#include "core/spelling/DataFolder.h"
#include "core/spelling/PersonalWordList.h"
#include "core/spelling/WordFrequencies.h"
#include "gui/common/LockStateSource.h"
#include "gui/typing/SdlSoundPlayer.h"

namespace quirtel {

CTapoApp::CTapoApp(int& argc, char** argv) : application_(argc, argv) {
    // A log beyond the process's file-size limit must fail its write (and be
    // reported) rather than end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    InstallSpanishTranslations(application_);
    // The name message boxes carry as their caption.
    QApplication::setApplicationName(QStringLiteral("Tapo"));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIRTEL_APP_ID));
}

CTapoApp::~CTapoApp() = default;

bool CTapoApp::InitInstance() {
    const std::string registryPath = RegistryFile::DefaultPath();
    if (!registryPath.empty()) {
        // Registry failures never stop the start-up.
        RegistryFile profile(registryPath);
        EnsureProfileKeys(profile);
    }

    // Started from a folder without its own data (a terminal in the home
    // folder), the program reads the installed copy and says so.
    const DataFolder data = ChooseDataFolder(QUIRTEL_INSTALLED_DATA);
    if (data.installed) {
        std::fprintf(stderr, "%s\n", InstalledDataNote("quirtel", data).c_str());
    }
    sound_ = std::make_unique<DataFolderSoundPlayer>(
        std::make_unique<SdlSoundPlayer>(SoundCues::SoundFiles(data.folder)), data.folder);
    lockStates_ = CreateSystemLockStateSource();
    document_ = std::make_unique<CTapoDoc>(prompts_);
    CMainFrame::Setup setup;
    setup.wordListPath = DataFile(data.folder, WORD_LIST_NAME);
    // A frequency list too large to read leaves the suggestions unranked;
    // said once, on standard error, since nothing is lost but the order.
    const std::string note = FrequencyListNote(FrequencyPathFor(setup.wordListPath));
    if (!note.empty()) {
        std::fprintf(stderr, "quirtel: %s\n", cp1252::ToUtf8(note).c_str());
    }
    setup.registryPath = registryPath;
    setup.personalListPath = PersonalWordList::DefaultPath();
    setup.lockStates = lockStates_.get();
    setup.textsFolder = DataFile(data.folder, "textos");
    frame_ = std::make_unique<CMainFrame>(*document_, clock_, *sound_, prompts_, std::move(setup));
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
