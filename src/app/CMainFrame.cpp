#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include "app/CTapoDoc.h"
#include "app/MenuMnemonics.h"
#include "core/session/ModelText.h"
#include "core/settings/CopyChoice.h"
#include "core/settings/RegistryFile.h"
#include "core/settings/ReviewOption.h"
#include "core/spelling/SpellingResources.h"
#include "gui/about/CAboutDlg.h"
#include "gui/common/Icons.h"
#include "gui/common/LockStateSource.h"
#include "gui/common/Prompts.h"
#include "gui/copy/CCopyTextDlg.h"
#include "gui/copy/CopyModelView.h"
#include "gui/results/CProgressDlg.h"
#include "gui/settings/PlacementQt.h"
#include "gui/typing/CTapoView.h"
#include "gui/typing/X11DeadKeyFilter.h"

namespace quirtel {

namespace {

constexpr int LOCK_REFRESH_MS = 1000;

bool IsWayland() {
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

bool IsLockKey(int key) {
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

struct PaneInfo {
    int id;
    const char16_t* text;  // shown while the lock is on
    const char16_t* name;  // the key, for assistive tools
};

CopyFileRefusal RefusalOf(ModelTextError error) {
    switch (error) {
        case ModelTextError::none:
            return CopyFileRefusal::None;
        case ModelTextError::empty:
            return CopyFileRefusal::Empty;
        case ModelTextError::binary:
            return CopyFileRefusal::Binary;
        case ModelTextError::tooLarge:
            return CopyFileRefusal::TooLarge;
        default:
            return CopyFileRefusal::Unreadable;
    }
}

CopyTextEntry EntryOf(const ModelText& model) {
    return {model.title, std::string(ModelTextKindName(model.kind)), model.text.size(), model.text};
}

CopyRulesView RulesViewOf(const CopyRules& rules) {
    return {rules.minutes, rules.penalty, rules.passMark, rules.maxErrorsPercent};
}

CopyRules RulesOf(const CopyRulesView& view) {
    return CopyRules{view.minutes, view.penalty, view.passMark, view.maxErrorsPercent}.Clamped();
}

constexpr PaneInfo PANES[] = {
    {CMainFrame::ID_INDICATOR_CAPS, u"MAY", u"Bloq May\u00FAs"},
    {CMainFrame::ID_INDICATOR_NUM, u"NUM", u"Bloq Num"},
    {CMainFrame::ID_INDICATOR_SCRL, u"DESP", u"Bloq Despl"},
};

}  // namespace

CMainFrame::CMainFrame(CTapoDoc& document, Clock& clock, SoundPlayer& sound, Prompts& prompts,
                       std::string wordListPath, QWidget* parent)
    : CMainFrame(document, clock, sound, prompts, Setup{std::move(wordListPath), {}, {}, nullptr},
                 parent) {}

CMainFrame::CMainFrame(CTapoDoc& document, Clock& clock, SoundPlayer& sound, Prompts& prompts,
                       Setup setup, QWidget* parent)
    : QMainWindow(parent),
      document_(document),
      prompts_(prompts),
      setup_(std::move(setup)),
      noLockStates_(setup_.lockStates ? nullptr : std::make_unique<FixedLockStateSource>()),
      lockStates_(setup_.lockStates ? setup_.lockStates : noLockStates_.get()) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(ProgramIcon());
    RestorePlacement();

    spelling_ =
        std::make_unique<SpellingResources>(setup_.wordListPath, setup_.personalListPath, &prompts);
    // The model of a copy test stands above the typing area, hidden in free
    // typing.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("testArea"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    modelView_ = new CopyModelView(central);
    modelView_->hide();
    view_ = new CTapoView(clock, sound, prompts, *spelling_, central);
    modelView_->setFont(view_->font());
    layout->addWidget(modelView_, 1);
    layout->addWidget(view_, 2);
    connect(view_, &CTapoView::documentTitleChanged, &document_, &CTapoDoc::SetTitle);
    connect(&document_, &CTapoDoc::documentSetUp, view_, &CTapoView::FirstSetUp);
    connect(view_, &CTapoView::nextModelWord, this, [this](qsizetype offset) {
        modelView_->SetNextWord(static_cast<std::size_t>(offset));
    });
    setCentralWidget(central);
    view_->setFocus();

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    connect(&document_, &CTapoDoc::titleChanged, this, &CMainFrame::UpdateCaption);
    connect(view_, &CTapoView::testStateChanged, this, &CMainFrame::UpdateCommandStates);
    RestoreTestKind();
    UpdateCaption(document_.Title());
    UpdateCommandStates();

    // The lock keys can change while another program has the keyboard; the
    // panes follow every second, on lock-key presses and on activation.
    lockTimer_.setInterval(LOCK_REFRESH_MS);
    connect(&lockTimer_, &QTimer::timeout, this, &CMainFrame::UpdateLockPanes);
    lockTimer_.start();
    qApp->installEventFilter(this);
    UpdateLockPanes();

    // A dead key typed into the view is a character of its own; X11's
    // compose input method would hide it until the letter comes.
    deadKeys_ = X11DeadKeyFilter::Create([this](unsigned long timestamp, unsigned long window) {
        const QWindow* handle = windowHandle();
        if (handle && window == handle->winId() && QApplication::focusWidget() == view_ &&
            !QApplication::activeModalWidget() && !QApplication::activePopupWidget()) {
            view_->DeadKeyPressed(timestamp);
        }
    });
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // A window that was shown keeps its placement even when it is destroyed
    // without being closed.
    if (isVisible()) {
        SavePlacement();
    }
}

QString CMainFrame::IdleMessage() {
    return QStringLiteral("Preparado");
}

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
    QAction* progress = addCommand(
        ID_PROGRESS, QStringLiteral("&Progreso..."),
        QStringLiteral(u"Muestra la evoluci\u00F3n de la velocidad y las faltas de las pruebas "
                       u"terminadas\nProgreso"));
    QAction* review = addCommand(
        ID_REVIEW, QStringLiteral("&Revisar faltas..."),
        QStringLiteral(u"Muestra por qu\u00E9 se marc\u00F3 cada palabra y qu\u00E9 se quiso "
                       u"escribir; las que est\u00E9n bien pasan a la lista personal\n"
                       u"Revisar faltas"));
    QAction* reviewFirst = addCommand(
        ID_REVIEW_FIRST, QStringLiteral("Revisar &antes del resultado"),
        QStringLiteral(u"Al acabar una prueba con palabras marcadas, abre la revisi\u00F3n de "
                       u"faltas antes del resultado final\nRevisar antes del resultado"));
    reviewFirst->setCheckable(true);
    QAction* copyPractice = addCommand(
        ID_COPY_PRACTICE, QStringLiteral("Copiar un te&xto..."),
        QStringLiteral(u"Prueba de copia: elige un texto modelo y las reglas del examen\n"
                       u"Copiar un texto"));
    QAction* freeTest = addCommand(
        ID_FREE_TEST, QStringLiteral("Prueba &libre"),
        QStringLiteral(u"Vuelve a la prueba de escritura libre, sin texto modelo\nPrueba libre"));
    freeTest->setCheckable(true);
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
    connect(review, &QAction::triggered, this, [this] {
        if (view_->CanReviewFaults()) {
            view_->ReviewFaults();
        }
    });
    RestoreReviewFirst();
    connect(copyPractice, &QAction::triggered, this, [this] {
        if (view_->State() != CTapoView::TestState::Running) {
            ChooseCopyText();
        }
    });
    connect(freeTest, &QAction::triggered, this, [this] {
        if (view_->State() != CTapoView::TestState::Running) {
            ChooseFreeTest();
        }
        ShowTestKind();
    });
    connect(options, &QAction::triggered, this, [this] {
        if (view_->EnabledCommands().options) {
            view_->EditOptions();
        }
    });
    connect(progress, &QAction::triggered, this, [this] {
        if (view_->State() != CTapoView::TestState::Running) {
            ShowProgress();
        }
    });
    connect(about, &QAction::triggered, this, &CMainFrame::ShowAbout);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    // The document accelerators. The view leaves Ctrl+letters to the window's
    // shortcuts first; the edit keys (undo, cut, copy, paste refused) are the
    // text area's own and need no action here.
    const struct {
        int id;
        QKeySequence keys;
    } documentCommands[] = {
        {ID_FILE_NEW, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {ID_FILE_OPEN, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ID_FILE_SAVE, QKeySequence(Qt::CTRL | Qt::Key_S)},
    };
    for (const auto& command : documentCommands) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("action") + QString::number(command.id));
        action->setShortcut(command.keys);
        addAction(action);
        actions_[command.id] = action;
    }
    connect(actions_.at(ID_FILE_NEW), &QAction::triggered, &document_, &CTapoDoc::OnNewDocument);
    connect(actions_.at(ID_FILE_OPEN), &QAction::triggered, this,
            [this] { document_.OnFileOpen(this); });
    connect(actions_.at(ID_FILE_SAVE), &QAction::triggered, this,
            [this] { document_.OnFileSave(this); });
}

void CMainFrame::createMenus() {
    mainMenu_ = menuBar()->addMenu(QStringLiteral(u"&Men\u00FA"));
    mainMenu_->setObjectName(QStringLiteral("mainMenu"));
    viewMenu_ = mainMenu_->addMenu(QStringLiteral("&Ver"));
    viewMenu_->setObjectName(QStringLiteral("viewMenu"));
    mainMenu_->addSeparator();
    mainMenu_->addAction(actions_.at(ID_TEST_START));
    mainMenu_->addAction(actions_.at(ID_TEST_FINISH));
    mainMenu_->addAction(actions_.at(ID_TEST_ABORT));
    mainMenu_->addSeparator();
    mainMenu_->addAction(actions_.at(ID_COPY_TEXT));
    mainMenu_->addAction(actions_.at(ID_PROGRESS));
    mainMenu_->addAction(actions_.at(ID_REVIEW));
    mainMenu_->addAction(actions_.at(ID_COPY_PRACTICE));
    mainMenu_->addAction(actions_.at(ID_FREE_TEST));
    mainMenu_->addAction(actions_.at(ID_REVIEW_FIRST));
    mainMenu_->addAction(actions_.at(ID_OPTIONS));
    mainMenu_->addSeparator();
    mainMenu_->addAction(actions_.at(ID_APP_ABOUT));
    mainMenu_->addAction(actions_.at(ID_APP_EXIT));
    MenuMnemonics::Install(*mainMenu_);
    MenuMnemonics::Install(*viewMenu_);
    // A prompt shown while the menu was open gives way to the idle text.
    connect(mainMenu_, &QMenu::aboutToHide, this,
            [this] { statusBar()->showMessage(IdleMessage()); });
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Barra de herramientas"), this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const std::pair<int, QIcon> buttons[] = {
        {ID_TEST_START, StartIcon()},
        {ID_TEST_FINISH, FinishIcon()},
        {ID_TEST_ABORT, AbortIcon()},
    };
    for (const auto& [id, icon] : buttons) {
        QAction* action = actions_.at(id);
        action->setIcon(icon);
        // The images are the toolbar's; the menu shows the texts only.
        action->setIconVisibleInMenu(false);
        toolBar_->addAction(action);
        // An icon-only button is named by its tooltip.
        toolBar_->widgetForAction(action)->setAccessibleName(action->toolTip());
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);

    QAction* toggle = toolBar_->toggleViewAction();
    toggle->setObjectName(QStringLiteral("action%1").arg(ID_VIEW_TOOLBAR));
    toggle->setText(QStringLiteral("Barra de &herramientas"));
    toggle->setStatusTip(QStringLiteral("Muestra u oculta la barra de herramientas"));
    toggle->setToolTip(QStringLiteral("Alternar Barra de herramientas"));
    actions_[ID_VIEW_TOOLBAR] = toggle;
    viewMenu_->addAction(toggle);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    for (const PaneInfo& info : PANES) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("pane") + QString::number(info.id));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Wide enough for its text, so the panes never move when a lock changes.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString::fromUtf16(info.text)) +
                              4 * pane->frameWidth() + 8);
        pane->setAccessibleName(QString::fromUtf16(info.name));
        bar->addPermanentWidget(pane);
        panes_[info.id] = pane;
    }
    // The message pane shows the idle text whenever no prompt is shown.
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) {
            bar->showMessage(IdleMessage());
        }
    });
    bar->showMessage(IdleMessage());

    auto* toggle = addCommand(ID_VIEW_STATUS_BAR, QStringLiteral("Barra de &estado"),
                              QStringLiteral("Muestra u oculta la barra de estado\n"
                                             "Alternar Barra de estado"));
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    viewMenu_->addAction(toggle);
}

QAction* CMainFrame::Action(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

QLabel* CMainFrame::Pane(int paneId) const {
    const auto found = panes_.find(paneId);
    return found == panes_.end() ? nullptr : found->second;
}

void CMainFrame::UpdateCommandStates() {
    const CTapoView::CommandStates states = view_->EnabledCommands();
    actions_.at(ID_TEST_START)->setEnabled(states.start);
    actions_.at(ID_TEST_FINISH)->setEnabled(states.finish);
    actions_.at(ID_TEST_ABORT)->setEnabled(states.abort);
    actions_.at(ID_COPY_TEXT)->setEnabled(states.copyText);
    actions_.at(ID_OPTIONS)->setEnabled(states.options);
    actions_.at(ID_PROGRESS)->setEnabled(view_->State() != CTapoView::TestState::Running);
    actions_.at(ID_REVIEW)->setEnabled(view_->CanReviewFaults());
    const bool choosing = view_->State() != CTapoView::TestState::Running;
    actions_.at(ID_COPY_PRACTICE)->setEnabled(choosing);
    actions_.at(ID_FREE_TEST)->setEnabled(choosing);
}

void CMainFrame::UpdateLockPanes() {
    const LockStates states = lockStates_->Read();
    const std::optional<bool> locks[] = {states.caps, states.num, states.scroll};
    for (std::size_t i = 0; i < std::size(PANES); ++i) {
        QLabel* pane = panes_.at(PANES[i].id);
        const bool on = locks[i].value_or(false);
        const QString text = on ? QString::fromUtf16(PANES[i].text) : QString();
        if (pane->text() != text) {
            pane->setText(text);
        }
        pane->setAccessibleDescription(!locks[i] ? QStringLiteral("desconocido")
                                       : on      ? QStringLiteral("activado")
                                                 : QStringLiteral("desactivado"));
    }
}

void CMainFrame::ShowAbout() {
    CAboutDlg dialog(prompts_, this);
    prompts_.RunDialog(dialog);
}

void CMainFrame::ShowProgress() {
    CProgressDlg dialog(view_->StatisticsLogPath(), this);
    prompts_.RunDialog(dialog);
}

// ---- Copy practice ---------------------------------------------------------

void CMainFrame::ChooseCopyText() {
    const ModelTextCatalogue catalogue(setup_.textsFolder);
    std::vector<std::string> fileNames;
    std::vector<CopyTextEntry> texts;
    for (const ModelTextEntry& entry : catalogue.List()) {
        ModelTextResult loaded = catalogue.Load(entry.fileName);
        if (loaded.ok()) {
            fileNames.push_back(entry.fileName);
            CopyTextEntry text = EntryOf(loaded.model);
            text.length = entry.length;
            texts.push_back(std::move(text));
        }
    }
    // The user's files, in the order the dialog adds them.
    std::vector<std::string> userPaths;
    std::vector<ModelText> userTexts;
    const CopyFileLoader loader = [&userPaths, &userTexts](const std::string& path) {
        ModelTextResult loaded = LoadUserModelText(path);
        CopyFileLoad load;
        load.refusal = RefusalOf(loaded.error);
        if (loaded.ok()) {
            load.text = EntryOf(loaded.model);
            load.text.kind.clear();
            userPaths.push_back(path);
            userTexts.push_back(std::move(loaded.model));
        }
        return load;
    };
    const CopyRules current =
        view_->CopyTestRules() ? *view_->CopyTestRules() : LoadCopyRulesOrDefault();
    CCopyTextDlg dialog(texts, RulesViewOf(current), loader, prompts_, this);
    if (prompts_.RunDialog(dialog) != QDialog::Accepted || dialog.ChosenIndex() < 0) {
        ShowTestKind();
        return;
    }
    const auto index = static_cast<std::size_t>(dialog.ChosenIndex());
    const CopyRules rules = RulesOf(dialog.Rules());
    if (index < fileNames.size()) {
        ModelTextResult loaded = catalogue.Load(fileNames[index]);
        if (!loaded.ok()) {
            ShowTestKind();
            return;
        }
        copySource_ = fileNames[index];
        copyFromUserFile_ = false;
        view_->SetCopyTest(std::move(loaded.model), rules);
    } else if (index - fileNames.size() < userTexts.size()) {
        copySource_ = userPaths[index - fileNames.size()];
        copyFromUserFile_ = true;
        view_->SetCopyTest(std::move(userTexts[index - fileNames.size()]), rules);
    } else {
        ShowTestKind();
        return;
    }
    SaveTestKind();
    ShowTestKind();
    view_->PrepareTest();
    view_->setFocus();
}

void CMainFrame::ChooseFreeTest() {
    const bool wasCopy = view_->IsCopyTest();
    view_->SetFreeTest();
    copySource_.clear();
    SaveTestKind();
    ShowTestKind();
    if (wasCopy) {
        view_->PrepareTest();
    }
    view_->setFocus();
}

CopyRules CMainFrame::LoadCopyRulesOrDefault() const {
    if (setup_.registryPath.empty()) {
        return CopyRules{};
    }
    RegistryFile registry(setup_.registryPath);
    return LoadCopyChoice(registry).rules;
}

void CMainFrame::ShowTestKind() {
    const ModelText* model = view_->CopyModel();
    actions_.at(ID_FREE_TEST)->setChecked(model == nullptr);
    if (model) {
        modelView_->SetModel(model->text);
        modelView_->show();
    } else {
        modelView_->hide();
    }
}

void CMainFrame::RestoreTestKind() {
    if (!setup_.registryPath.empty()) {
        RegistryFile registry(setup_.registryPath);
        const CopyChoice choice = LoadCopyChoice(registry);
        // A text that no longer loads leaves free typing.
        ModelTextResult loaded;
        loaded.error = ModelTextError::notFound;
        if (choice.kind == CopyChoice::Kind::BuiltIn) {
            loaded = ModelTextCatalogue(setup_.textsFolder).Load(choice.text);
        } else if (choice.kind == CopyChoice::Kind::UserFile) {
            loaded = LoadUserModelText(choice.text);
        }
        if (loaded.ok()) {
            copySource_ = choice.text;
            copyFromUserFile_ = choice.kind == CopyChoice::Kind::UserFile;
            view_->SetCopyTest(std::move(loaded.model), choice.rules);
        }
    }
    ShowTestKind();
}

void CMainFrame::SaveTestKind() {
    if (setup_.registryPath.empty()) {
        return;
    }
    RegistryFile registry(setup_.registryPath);
    CopyChoice choice = LoadCopyChoice(registry);
    if (view_->IsCopyTest()) {
        choice.kind = copyFromUserFile_ ? CopyChoice::Kind::UserFile : CopyChoice::Kind::BuiltIn;
        choice.text = copySource_;
        choice.rules = *view_->CopyTestRules();
    } else {
        choice.kind = CopyChoice::Kind::Free;
        choice.text.clear();
    }
    SaveCopyChoice(registry, choice);
}

void CMainFrame::UpdateCaption(const QString& title) {
    setWindowTitle(title + QStringLiteral(" - Quirtel"));
}

// ---- Placement ------------------------------------------------------------

void CMainFrame::RestorePlacement() {
    QRect outer = OuterRectFor(WindowRect{});
    if (!setup_.registryPath.empty()) {
        RegistryFile registry(setup_.registryPath);
        outer = LoadOuterRect(registry);
    }
    // Qt places a window by its client area; the frame the window manager
    // adds is known only once the window is mapped. Until then the client
    // takes the whole outer size, and CorrectPlacement takes the frame off.
    // Wayland gives windows no say in their position: only the size is kept.
    if (!IsWayland()) {
        move(outer.topLeft());
    }
    resize(outer.size());
    pendingOuter_ = outer;
}

void CMainFrame::RestoreReviewFirst() {
    QAction* action = actions_.at(ID_REVIEW_FIRST);
    if (!setup_.registryPath.empty()) {
        RegistryFile registry(setup_.registryPath);
        action->setChecked(LoadReviewBeforeResult(registry));
    }
    view_->SetReviewBeforeResult(action->isChecked());
    connect(action, &QAction::toggled, this, [this](bool on) {
        view_->SetReviewBeforeResult(on);
        // Kept at once: a crash later must not lose the choice. Like the
        // placement, a failed write is not shown.
        if (!setup_.registryPath.empty()) {
            RegistryFile registry(setup_.registryPath);
            SaveReviewBeforeResult(registry, on);
        }
    });
}

void CMainFrame::CorrectPlacement() {
    if (!pendingOuter_) {
        return;
    }
    const QRect wanted = *pendingOuter_;
    pendingOuter_.reset();
    const QRect outer = frameGeometry();
    const QSize frame = outer.size() - geometry().size();
    if (outer.size() != wanted.size()) {
        resize((wanted.size() - frame).expandedTo(QSize(1, 1)));
    }
    if (!IsWayland() && outer.topLeft() != wanted.topLeft()) {
        move(wanted.topLeft());
    }
}

void CMainFrame::SavePlacement() {
    if (placementSaved_ || setup_.registryPath.empty()) {
        return;
    }
    placementSaved_ = true;
    RegistryFile registry(setup_.registryPath);
    SaveOuterRect(registry, frameGeometry());
}

// ---- Events ---------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Nothing is ever modified, so closing asks nothing; the placement is
    // kept while the window still has its frame.
    SavePlacement();
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        UpdateLockPanes();
    }
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    UpdateLockPanes();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (IsLockKey(static_cast<QKeyEvent*>(event)->key())) {
                UpdateLockPanes();
            }
            break;
        case QEvent::Expose:
            // The first exposure comes after the window manager has framed
            // the window; the geometry it reported is handled first.
            if (pendingOuter_ && watched == windowHandle() && windowHandle()->isExposed()) {
                QMetaObject::invokeMethod(this, &CMainFrame::CorrectPlacement,
                                          Qt::QueuedConnection);
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace quirtel
