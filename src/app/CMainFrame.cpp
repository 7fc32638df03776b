#include "app/CMainFrame.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/CTapoDoc.h"
#include "typing/CTapoView.h"

namespace quirtel {

CMainFrame::CMainFrame(CTapoDoc& document, Clock& clock, SoundPlayer& sound, Prompts& prompts,
                       std::string wordListPath, QWidget* parent)
    : QMainWindow(parent), document_(document) {
    setObjectName(QStringLiteral("CMainFrame"));
    resize(640, 480);
    view_ = new CTapoView(clock, sound, prompts, document, this, std::move(wordListPath));
    setCentralWidget(view_);
    view_->setFocus();

    createActions();
    createMenus();

    connect(&document_, &CTapoDoc::titleChanged, this, &CMainFrame::UpdateCaption);
    connect(view_, &CTapoView::testStateChanged, this, &CMainFrame::UpdateCommandStates);
    UpdateCaption(document_.Title());
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addCommand(int id, const QString& text, const QString& prompt) {
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("action") + QString::number(id));
    // The prompt's first line is the status-bar text, the second the tooltip.
    const qsizetype split = prompt.indexOf(u'\n');
    action->setStatusTip(prompt.left(split));
    action->setToolTip(prompt.mid(split + 1));
    actions_[id] = action;
    return action;
}

void CMainFrame::createActions() {
    // F2 and ESC in the texts are labels only: the view handles those keys.
    QAction* start = addCommand(ID_TEST_START, QStringLiteral("&Empezar prueba\tF2"),
                                QStringLiteral("Empieza una nueva prueba\nEmpezar"));
    QAction* finish = addCommand(
        ID_TEST_FINISH, QStringLiteral("&Finalizar prueba\tF2"),
        QStringLiteral("Detiene la prueba en curso y muestra el resultado final\nParar"));
    QAction* abort = addCommand(ID_TEST_ABORT, QStringLiteral("&Abortar\tESC"),
                                QStringLiteral("Aborta la prueba en curso\nAbortar prueba"));
    QAction* copyText = addCommand(
        ID_COPY_TEXT, QStringLiteral("&Texto a portapapeles"),
        QStringLiteral(
            "Copia todo el texto actual en el portapapeles de Windows\nCopia en el portapapeles"));
    QAction* options =
        addCommand(ID_OPTIONS, QStringLiteral("&Opciones"),
                   QStringLiteral(u"Opciones: Duraci\u00F3n de la prueba...\nOpciones"));
    QAction* about = addCommand(
        ID_APP_ABOUT, QStringLiteral("&Acerca de Quirtel..."),
        QStringLiteral(u"Muestra informaci\u00F3n del programa, n\u00FAmero de versi\u00F3n y "
                       u"copyright\nAcerca de"));
    QAction* exit = addCommand(
        ID_APP_EXIT, QStringLiteral("&Salir"),
        QStringLiteral(u"Sale de la aplicaci\u00F3n; le pide que guarde los documentos\nSalir"));

    // A command runs only while its rule enables it, whoever triggers it.
    connect(start, &QAction::triggered, this, [this] {
        if (view_->EnabledCommands().start) {
            view_->PrepareTest();
        }
    });
    connect(finish, &QAction::triggered, this, [this] {
        if (view_->EnabledCommands().finish) {
            view_->FinishTest();
        }
    });
    connect(abort, &QAction::triggered, this, [this] {
        if (view_->EnabledCommands().abort) {
            view_->AbortTest();
        }
    });
    connect(copyText, &QAction::triggered, this, [this] {
        if (view_->EnabledCommands().copyText) {
            view_->CopyTextToClipboard();
        }
    });
    connect(options, &QAction::triggered, this, [this] {
        if (view_->EnabledCommands().options) {
            view_->EditOptions();
        }
    });
    connect(about, &QAction::triggered, this, &CMainFrame::ShowAbout);
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::createMenus() {
    mainMenu_ = menuBar()->addMenu(QStringLiteral(u"&Men\u00FA"));
    mainMenu_->setObjectName(QStringLiteral("mainMenu"));
    mainMenu_->addAction(actions_.at(ID_TEST_START));
    mainMenu_->addAction(actions_.at(ID_TEST_FINISH));
    mainMenu_->addAction(actions_.at(ID_TEST_ABORT));
    mainMenu_->addSeparator();
    mainMenu_->addAction(actions_.at(ID_COPY_TEXT));
    mainMenu_->addAction(actions_.at(ID_OPTIONS));
    mainMenu_->addSeparator();
    mainMenu_->addAction(actions_.at(ID_APP_ABOUT));
    mainMenu_->addAction(actions_.at(ID_APP_EXIT));
}

QAction* CMainFrame::Action(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::UpdateCommandStates() {
    const CTapoView::CommandStates states = view_->EnabledCommands();
    actions_.at(ID_TEST_START)->setEnabled(states.start);
    actions_.at(ID_TEST_FINISH)->setEnabled(states.finish);
    actions_.at(ID_TEST_ABORT)->setEnabled(states.abort);
    actions_.at(ID_COPY_TEXT)->setEnabled(states.copyText);
    actions_.at(ID_OPTIONS)->setEnabled(states.options);
}

void CMainFrame::ShowAbout() {
    // The about box opens here.
}

void CMainFrame::UpdateCaption(const QString& title) {
    setWindowTitle(title + QStringLiteral(" - Quirtel"));
}

}  // namespace quirtel
