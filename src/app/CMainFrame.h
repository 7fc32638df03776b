#pragma once

#include <QMainWindow>
#include <QString>
#include <map>
#include <string>

#include "spelling/WordList.h"

class QAction;
class QMenu;

namespace quirtel {

class CTapoDoc;
class CTapoView;
class Clock;
class Prompts;
class SoundPlayer;

// The main window: the typing view fills it; its caption is the document's
// title followed by " - Quirtel" (the view writes it directly while a test
// runs); its one menu holds the test commands, enabled by the test state.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Command ids; each action's object name is "action" + its id.
    static constexpr int ID_TEST_START = 32771;
    static constexpr int ID_TEST_FINISH = 32772;
    static constexpr int ID_OPTIONS = 32773;
    static constexpr int ID_COPY_TEXT = 32774;
    static constexpr int ID_TEST_ABORT = 32775;
    static constexpr int ID_APP_ABOUT = 57664;
    static constexpr int ID_APP_EXIT = 57665;

    // Creates the typing view (which loads the word list) as the central
    // widget. The document, clock, sound player and prompts must outlive the
    // window.
    CMainFrame(CTapoDoc& document, Clock& clock, SoundPlayer& sound, Prompts& prompts,
               std::string wordListPath = WORD_LIST_PATH, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTapoView& View() const { return *view_; }
    CTapoDoc& Document() const { return document_; }
    // The action of a command id, null for an unknown id.
    QAction* Action(int commandId) const;
    QMenu* MainMenu() const { return mainMenu_; }

    // Enables the five test commands from the view's test state.
    void UpdateCommandStates();
    // Opens the about box.
    void ShowAbout();

private:
    void createActions();
    void createMenus();
    QAction* addCommand(int id, const QString& text, const QString& prompt);
    void UpdateCaption(const QString& title);

    CTapoDoc& document_;
    CTapoView* view_ = nullptr;  // owned as the central widget
    QMenu* mainMenu_ = nullptr;
    std::map<int, QAction*> actions_;
};

}  // namespace quirtel
