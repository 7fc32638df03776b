#pragma once

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/session/CopyRules.h"
#include "core/session/ModelTextCatalogue.h"
#include "core/spelling/WordList.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace quirtel {

class CopyModelView;
class CTapoDoc;
class CTapoView;
class SpellingResources;
class Clock;
class LockStateSource;
class Prompts;
class SoundPlayer;
class X11DeadKeyFilter;

// The main window: the typing view fills it; its caption is the document's
// title followed by " - Quirtel" (the view writes it directly while a test
// runs). It has one menu with the test commands, a toolbar with the first
// three of them, a status bar with the prompts and the lock-key panes, and
// the document accelerators. Its outer rectangle is kept in the per-user
// registry from one run to the next.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Command ids; each action's object name is "action" + its id.
    static constexpr int ID_TEST_START = 32771;
    static constexpr int ID_TEST_FINISH = 32772;
    static constexpr int ID_OPTIONS = 32773;
    static constexpr int ID_COPY_TEXT = 32774;
    static constexpr int ID_TEST_ABORT = 32775;
    static constexpr int ID_PROGRESS = 32776;
    static constexpr int ID_REVIEW = 32777;
    static constexpr int ID_REVIEW_FIRST = 32790;
    static constexpr int ID_COPY_PRACTICE = 32778;
    static constexpr int ID_FREE_TEST = 32779;
    static constexpr int ID_FILE_NEW = 57600;
    static constexpr int ID_FILE_OPEN = 57601;
    static constexpr int ID_FILE_SAVE = 57603;
    static constexpr int ID_APP_ABOUT = 57664;
    static constexpr int ID_APP_EXIT = 57665;
    static constexpr int ID_VIEW_TOOLBAR = 59392;
    static constexpr int ID_VIEW_STATUS_BAR = 59393;
    // Status-bar panes; each label's object name is "pane" + its id.
    static constexpr int ID_INDICATOR_CAPS = 59137;
    static constexpr int ID_INDICATOR_NUM = 59138;
    static constexpr int ID_INDICATOR_SCRL = 59139;

    // What the window uses besides the test's own services.
    struct Setup {
        std::string wordListPath = WORD_LIST_PATH;
        // The personal word list; empty: none (words cannot be added).
        std::string personalListPath;
        // The registry file that keeps the window placement; empty: the
        // window opens with the default placement and keeps nothing.
        std::string registryPath;
        // Where the lock-key panes read from; null: the panes stay empty.
        // Must outlive the window.
        LockStateSource* lockStates = nullptr;
        // The built-in texts to copy.
        std::string textsFolder = std::string(BUILT_IN_TEXTS_FOLDER);
    };

    // Creates the typing view (which loads the word list) as the central
    // widget and places the window as the registry says, before it is shown.
    // The document, clock, sound player and prompts must outlive the window.
    CMainFrame(CTapoDoc& document, Clock& clock, SoundPlayer& sound, Prompts& prompts, Setup setup,
               QWidget* parent = nullptr);
    CMainFrame(CTapoDoc& document, Clock& clock, SoundPlayer& sound, Prompts& prompts,
               std::string wordListPath = WORD_LIST_PATH, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTapoView& View() const { return *view_; }
    CTapoDoc& Document() const { return document_; }
    // The action of a command id, null for an unknown id.
    QAction* Action(int commandId) const;
    QMenu* MainMenu() const { return mainMenu_; }
    QMenu* ViewMenu() const { return viewMenu_; }
    QToolBar* ToolBar() const { return toolBar_; }
    // The label of a lock-key pane, null for an unknown id.
    QLabel* Pane(int paneId) const;

    // Enables the five test commands from the view's test state,
    // "Progreso" whenever no test is running, and "Revisar faltas" when the
    // view has marks to review.
    void UpdateCommandStates();
    // Reads the lock keys and shows them in their panes.
    void UpdateLockPanes();
    // Opens the about box.
    void ShowAbout();
    // Opens "Progreso" over the statistics log the view writes.
    void ShowProgress();
    // Writes the window's outer rectangle to the registry, once per window.
    void SavePlacement();
    // Opens "Texto para copiar"; "Empezar" makes a copy test of the chosen
    // text ready and keeps the choice in the registry.
    void ChooseCopyText();
    // Back to free typing, kept in the registry.
    void ChooseFreeTest();
    // The model shown above the typing area in copy tests.
    CopyModelView& ModelView() const { return *modelView_; }

    // The idle text of the status bar.
    static QString IdleMessage();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* addCommand(int id, const QString& text, const QString& prompt);
    void UpdateCaption(const QString& title);
    void RestorePlacement();
    // Reads "Revisar antes del resultado" from the registry; writes it on change.
    void RestoreReviewFirst();
    void CorrectPlacement();
    // Shows the view's copy model (or hides the model view in free typing)
    // and ticks "Prueba libre" accordingly.
    void ShowTestKind();
    // The copy test kept in the registry, when its text still loads.
    void RestoreTestKind();
    void SaveTestKind();
    // The rules kept in the registry; the defaults without one.
    CopyRules LoadCopyRulesOrDefault() const;

    CTapoDoc& document_;
    Prompts& prompts_;
    Setup setup_;
    std::unique_ptr<LockStateSource> noLockStates_;
    // Loaded before the view, which reads them until it goes.
    std::unique_ptr<SpellingResources> spelling_;
    LockStateSource* lockStates_;
    CTapoView* view_ = nullptr;           // owned as the central widget
    CopyModelView* modelView_ = nullptr;  // owned as the central widget
    // Where the current copy's text comes from: a built-in file name or a
    // user's path; empty in free typing.
    std::string copySource_;
    bool copyFromUserFile_ = false;
    QMenu* mainMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QLabel*> panes_;
    QTimer lockTimer_;
    // Dead keys as X11 sends them, before the input method swallows them.
    std::unique_ptr<X11DeadKeyFilter> deadKeys_;

    // The outer rectangle still to be checked once the window manager's frame
    // is known (X11 knows the frame only after the window is mapped).
    std::optional<QRect> pendingOuter_;
    bool placementSaved_ = false;
};

}  // namespace quirtel
