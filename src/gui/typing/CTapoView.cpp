#include "gui/typing/CTapoView.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>
#include <limits>

#include "app/CTapoDoc.h"
#include "core/common/Cp1252.h"
#include "core/results/StatisticsLog.h"
#include "core/session/FaultList.h"
#include "core/session/TestJudge.h"
#include "core/spelling/PersonalWordList.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordFrequencies.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"
#include "gui/results/CResultDlg.h"
#include "gui/settings/COptionsDlg.h"
#include "gui/typing/FaultReview.h"
#include "gui/typing/KeyClassifier.h"

namespace quirtel {

namespace {

QString PromptTitle(std::int32_t testLength) {
    return QStringLiteral("Empieza a escribir cuando quieras... (tiempo total ") +
           FromCp1252(FormatTimeSpan(testLength)) +
           QStringLiteral(" minutos) F2 para acabar y ESC para abortar");
}

QColor ToQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_Meta || key == Qt::Key_CapsLock;
}

std::uint32_t FromQColor(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace

CTapoView::CTapoView(Clock& clock, SoundPlayer& sound, Prompts& prompts, CTapoDoc& doc,
                     QWidget* parent, std::string wordListPath, std::string personalListPath)
    : QTextEdit(parent),
      clock_(clock),
      prompts_(prompts),
      document_(doc),
      soundCues_(sound),
      wordList_(std::make_unique<WordList>(wordListPath, &prompts)),
      personalList_(std::make_unique<PersonalWordList>(std::move(personalListPath))),
      advisor_(std::make_unique<SpellingAdvisor>(*wordList_, FrequencyPathFor(wordListPath))),
      faultList_(std::make_unique<FaultList>(*advisor_)),
      faultReview_(std::make_unique<FaultReview>(*this, *faultList_, *personalList_, prompts)),
      session_(clock, steadyClock_),
      statisticsLogPath_(STATISTICS_LOG_PATH) {
    wordList_->SetPersonalList(personalList_.get());
    setObjectName(QStringLiteral("typingView"));
    setAccessibleName(QStringLiteral("Texto de la prueba"));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);

    testTimer_.setObjectName(QStringLiteral("testTimer"));
    testTimer_.setInterval(TEST_TIMER_PERIOD_MS);
    testTimer_.setSingleShot(false);
    connect(&testTimer_, &QTimer::timeout, this, &CTapoView::OnTestTick);

    connect(document(), &QTextDocument::contentsChange, this, [this](int, int, int) {
        if (!formatting_) {
            InvalidateDisplayLines();
        }
    });
    connect(&document_, &CTapoDoc::documentSetUp, this, &CTapoView::FirstSetUp);
}

CTapoView::~CTapoView() = default;

void CTapoView::FirstSetUp() {
    savedFormat_ = DefaultCharFormat();
    PrepareTest();
}

void CTapoView::PrepareTest() {
    testTimer_.stop();
    document_.SetTitle(PromptTitle(Settings().testLength));
    session_.Prepare();
    faultReview_->Clear();
    SetSelection(0, -1);
    DeleteSelection();
    // Deleting keeps the format of the deleted text at the caret (a fault mark
    // included); start from the plain format before applying the saved one.
    setCurrentCharFormat(QTextCharFormat());
    FormatSelection(savedFormat_);
    // Undo must not bring back the previous test's text into this one.
    document()->clearUndoRedoStacks();
    emit testStateChanged();
}

bool CTapoView::AcceptCharacter(char32_t character) {
    return Accepted(session_.AcceptCharacter(character));
}

bool CTapoView::AcceptControl(ControlKey key) {
    return Accepted(session_.AcceptControl(key));
}

bool CTapoView::Accepted(TestSession::Accept outcome) {
    if (outcome == TestSession::Accept::Refused) {
        return false;
    }
    if (outcome == TestSession::Accept::Started) {
        testTimer_.start();
        SetCaption(QStringLiteral(u"\u00A1Empezando!"));
        emit testStateChanged();
    }
    if (Settings().keySound) {
        soundCues_.PlayKeyClick();
    }
    return true;
}

void CTapoView::OnTestTick() {
    const TestSession::Tick tick = session_.OnTick();
    if (!tick.counted) {
        return;
    }
    const std::int32_t length = Settings().testLength;
    SetCaption(QStringLiteral("(Total ") + FromCp1252(FormatTimeSpan(length)) +
               QStringLiteral(") --- ") + FromCp1252(FormatTimeSpan(tick.elapsed)) +
               QStringLiteral(" ---"));
    if (tick.timeUp) {
        FinishTest();
    }
}

void CTapoView::AbortTest() {
    // Set before the message runs its own loop: characters arriving meanwhile
    // are dropped.
    session_.Abort();
    testTimer_.stop();
    emit testStateChanged();
    prompts_.ShowMessage("Prueba abortada.");
    PrepareTest();
}

void CTapoView::FinishTest() {
    const bool firstFinish = session_.Finish();
    if (firstFinish) {
        testTimer_.stop();
        emit testStateChanged();

        TestJudge::Judgement judgement =
            TestJudge::Judge(*this, Settings(), session_.ElapsedSeconds(), wordList_.get());
        result_ = judgement.result;
        soundCues_.PlayRatingSound(result_.speed);
        PaintFaults(judgement.faults);
        faultList_->Take(std::move(judgement.faults));
    }

    const std::string timeText = FormatTimeText(result_.elapsedSeconds);
    const std::string speedText = FormatSpeedText(result_.speed);
    std::string netSpeedText = FormatSpeedText(result_.speed - result_.faults);

    CResultDlg dialog(speedText, netSpeedText, timeText, result_.capitals, result_.faults,
                      firstFinish && Settings().spellCheck, prompts_, this);
    const int answer = prompts_.RunDialog(dialog);
    if (!firstFinish) {
        return;
    }
    if (answer == QDialog::Accepted) {
        result_.faults = static_cast<std::int32_t>(dialog.RealFaults());
        netSpeedText = FormatSpeedText(result_.speed - result_.faults);
    }
    SetCaption(FromCp1252(FinishedCaption(netSpeedText, timeText)));
    AppendStatisticsRecord(speedText, netSpeedText, timeText,
                           FormatFaultsText(result_.faults, Settings().spellCheck),
                           FormatDateText(session_.TimeLastTick()));
    faultReview_->Activate();
    emit testStateChanged();
}

bool CTapoView::CanReviewFaults() const {
    return State() == TestState::Finished && Settings().spellCheck && faultReview_->CanReview();
}

void CTapoView::ReviewFaults() {
    if (!CanReviewFaults()) {
        return;
    }
    const int caret = textCursor().position();
    const std::vector<FaultReview::Range> unmarked = faultReview_->Run(this);
    for (const auto& [start, end] : unmarked) {
        SetSelection(start, end);
        FormatSelection(savedFormat_);
    }
    // The caret goes back where it stood, with nothing selected.
    SetSelection(caret, caret);
    setCurrentCharFormat(QTextCharFormat());
    emit testStateChanged();
}

QString CTapoView::FaultToolTipAt(QPoint point) const {
    return faultReview_->ToolTipAt(CharacterAt(point));
}

int CTapoView::CharacterAt(QPoint point) const {
    const QPointF inDocument(point.x() + horizontalScrollBar()->value(),
                             point.y() + verticalScrollBar()->value());
    const int hit = document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
    if (hit < 0) {
        return -1;
    }
    // The hit is the caret position nearest the point: the character under
    // the point is the one after it or, over a character's right half, before.
    QTextCursor caret(document());
    caret.setPosition(hit);
    return point.x() >= cursorRect(caret).left() ? hit : hit - 1;
}

bool CTapoView::HandleKeyDown(int key) {
    if (key == Qt::Key_F3) {
        session_.ToggleKeySound();
        return false;
    }
    const TestState state = State();
    if (state != TestState::Finished) {
        if (key == Qt::Key_F2 && state == TestState::Running) {
            FinishTest();
            return false;
        }
        if (key == Qt::Key_Escape && state == TestState::Running) {
            AbortTest();
            return false;
        }
        return true;
    }
    if (key == Qt::Key_F2) {
        PrepareTest();
    }
    return false;
}

void CTapoView::PaintFaults(const std::vector<FaultRange>& faults) {
    CharFormat mark = DefaultCharFormat();
    mark.underline = true;
    mark.colour = FAULT_MARK_COLOUR;
    for (const FaultRange& fault : faults) {
        SetSelection(fault.start, fault.end);
        FormatSelection(mark);
    }
    SetSelection(-1, 0);
    // The caret stands after the last mark; typing is refused, but keep the
    // mark out of the caret's format all the same.
    setCurrentCharFormat(QTextCharFormat());
}

void CTapoView::CopyTextToClipboard() {
    SetSelection(0, -1);
    CopySelection();
    SetSelection(-1, 0);
}

void CTapoView::EditOptions() {
    // The dialog shows the minutes within the hour of the test length.
    TestSettings settings = Settings();
    const std::int32_t seconds = settings.testLength;
    const auto minutes = static_cast<std::uint32_t>(seconds / 60 - (seconds / 3600) * 60);
    COptionsDlg dialog(minutes, settings.capitalsDouble, settings.keySound, settings.spellCheck,
                       prompts_, this);
    if (prompts_.RunDialog(dialog) != QDialog::Accepted) {
        return;
    }
    settings.testLength = dialog.Minutes() * 60;
    settings.capitalsDouble = dialog.CapitalsDouble();
    settings.keySound = dialog.KeySound();
    settings.spellCheck = dialog.SpellCheck();
    session_.SetSettings(settings);
    // Also without changes: the text is cleared and the title shows the length.
    PrepareTest();
}

void CTapoView::AppendStatisticsRecord(std::string speedText, std::string netSpeedText,
                                       std::string timeText, std::string faultsText,
                                       std::string dateText) {
    const std::string record =
        BuildStatisticsRecord(speedText, netSpeedText, timeText, faultsText, dateText);
    if (const auto failure = quirtel::AppendStatisticsRecord(statisticsLogPath_, record)) {
        prompts_.ShowMessage(FileFailureMessage(*failure));
    }
}

void CTapoView::SetCaption(const QString& caption) {
    window()->setWindowTitle(caption);
}

// ---- Input ----------------------------------------------------------------

bool CTapoView::OwnsShortcut(const QKeyEvent& event) const {
    const int key = event.key();
    const bool altOrMeta = event.modifiers() & (Qt::AltModifier | Qt::MetaModifier);
    if (!altOrMeta && (key == Qt::Key_F2 || key == Qt::Key_F3 || key == Qt::Key_Escape)) {
        return true;
    }
    switch (ClassifyKey(key, event.modifiers(), event.text())) {
        case KeyRole::Character:
        case KeyRole::Undo:
        case KeyRole::Cut:
        case KeyRole::Copy:
        case KeyRole::Paste:
        case KeyRole::Editing:
            return true;
        case KeyRole::ControlCharacter:
        case KeyRole::Other:
            // Ctrl+letters are the window's accelerators first (Ctrl+N, Ctrl+O,
            // Ctrl+S); only those without one reach the text as a character.
            return false;
    }
    return false;
}

bool CTapoView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int character = CharacterAt(help->pos());
        const QString tip = faultReview_->ToolTipAt(character);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        // The tip goes as soon as the pointer leaves the marked token, which
        // lies on one display line.
        const auto [start, end] = faultReview_->MarkAt(character);
        QTextCursor from(document());
        from.setPosition(start);
        QTextCursor to(document());
        to.setPosition(end);
        QToolTip::showText(help->globalPos(), tip, viewport(),
                           cursorRect(from).united(cursorRect(to)));
        return true;
    }
    return QTextEdit::viewportEvent(event);
}

bool CTapoView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        event->setAccepted(OwnsShortcut(*static_cast<QKeyEvent*>(event)));
        return true;
    }
    return QTextEdit::event(event);
}

void CTapoView::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const KeyRole role = ClassifyKey(event->key(), event->modifiers(), event->text());
    const bool deadKey =
        event->key() >= Qt::Key_Dead_Grave && event->key() <= Qt::Key_Dead_Longsolidusoverlay;
    if (!IsModifierKey(event->key())) {
        deadKeySeen_ = deadKey;
    }

    // The edit commands come before the key reaches the test, as accelerators
    // do, and send no character: they never start the clock.
    switch (role) {
        case KeyRole::Undo:
            // A finished text stays as it was counted.
            if (State() != TestState::Finished) {
                undo();
            }
            return;
        case KeyRole::Cut:
            if (State() != TestState::Finished) {
                cut();
            }
            return;
        case KeyRole::Copy:
            copy();
            return;
        case KeyRole::Paste:
            return;
        default:
            break;
    }

    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    if (!HandleKeyDown(event->key())) {
        return;
    }

    switch (role) {
        case KeyRole::Character: {
            const bool counted = deadKey && countedDeadKey_ == event->timestamp();
            if ((!counted && !AcceptKey(*event)) || event->key() == Qt::Key_Escape) {
                return;
            }
            // The text area gets what the character means: Shift+Tab is a tab,
            // and Shift+Enter or Ctrl+Enter a paragraph break (every line
            // break the text holds is a paragraph).
            const int plainKey = PlainCharacterKey(event->key(), event->modifiers());
            if (plainKey != 0) {
                SendPlainKey(*event, plainKey);
                return;
            }
            QTextEdit::keyPressEvent(event);
            return;
        }
        case KeyRole::ControlCharacter: {
            // Ctrl+H, Ctrl+I, Ctrl+J and Ctrl+M are the control characters of
            // Backspace, Tab and Enter and act like them; other Ctrl+letters
            // only count.
            if (!AcceptKey(*event)) {
                return;
            }
            const int plainKey = PlainCharacterKey(event->key(), event->modifiers());
            if (plainKey != 0) {
                SendPlainKey(*event, plainKey);
            }
            return;
        }
        case KeyRole::Editing:
            QTextEdit::keyPressEvent(event);
            return;
        default:
            event->ignore();
            return;
    }
}

bool CTapoView::AcceptKey(const QKeyEvent& event) {
    const int plainKey = PlainCharacterKey(event.key(), event.modifiers());
    switch (plainKey != 0 ? plainKey : event.key()) {
        case Qt::Key_Backspace: {
            // What the key takes out of the text goes into the stream too.
            const QTextCursor caret = textCursor();
            const QString gone = caret.hasSelection() ? caret.selectedText()
                                 : caret.position() > 0
                                     ? QString(document()->characterAt(caret.position() - 1))
                                     : QString();
            if (!AcceptControl(ControlKey::Backspace)) {
                return false;
            }
            for (const char32_t c : gone.toUcs4()) {
                session_.NoteDeleted(c);
            }
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return AcceptControl(ControlKey::Enter);
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return AcceptControl(ControlKey::Tab);
        case Qt::Key_Escape:
            return AcceptControl(ControlKey::Escape);
        default:
            break;
    }
    const QString text = event.text();
    if (event.modifiers() & Qt::ControlModifier) {
        return AcceptControl(ControlKey::Other);
    }
    if (text.isEmpty()) {
        return AcceptControl(event.key() >= Qt::Key_Dead_Grave ? ControlKey::DeadKey
                                                               : ControlKey::Other);
    }
    const char32_t first = text.front().isHighSurrogate() && text.size() > 1
                               ? QChar::surrogateToUcs4(text[0], text[1])
                               : text.front().unicode();
    return first < 0x20 || first == 0x7F ? AcceptControl(ControlKey::Other)
                                         : AcceptCharacter(first);
}

void CTapoView::SendPlainKey(const QKeyEvent& event, int key) {
    QString text;
    switch (key) {
        case Qt::Key_Tab:
            text = QStringLiteral("\t");
            break;
        case Qt::Key_Backspace:
            text = QStringLiteral("\b");
            break;
        default:
            text = QStringLiteral("\r");
            break;
    }
    QKeyEvent plain(event.type(), key, Qt::NoModifier, text, event.isAutoRepeat(),
                    static_cast<quint16>(event.count()));
    QTextEdit::keyPressEvent(&plain);
}

void CTapoView::DeadKeyPressed(unsigned long timestamp) {
    countedDeadKey_ = timestamp;
    deadKeySeen_ = true;
    AcceptControl(ControlKey::DeadKey);
}

void CTapoView::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
    if (State() == TestState::Finished) {
        return;
    }
    // Each committed character is one character message. X11's compose input
    // context swallows the dead key of an accented letter and commits only the
    // letter; that dead key was a character message of its own.
    const QList<uint> committed = event->commitString().toUcs4();
    qsizetype messages = committed.size();
    if (!deadKeySeen_ && committed.size() == 1 &&
        QChar::decompositionTag(committed.front()) == QChar::Canonical) {
        ++messages;
    }
    if (!committed.isEmpty()) {
        deadKeySeen_ = false;
    }
    for (qsizetype i = 0; i < messages; ++i) {
        // The swallowed dead key comes first, then the committed characters.
        const bool deadKey = messages > committed.size() && i == 0;
        if (!(deadKey ? AcceptControl(ControlKey::DeadKey)
                      : AcceptCharacter(committed[i - (messages - committed.size())]))) {
            return;
        }
    }
    QTextEdit::inputMethodEvent(event);
}

// Clicks never move the caret or select; a middle click would paste the
// selection of the window system.
void CTapoView::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void CTapoView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}
void CTapoView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}
void CTapoView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void CTapoView::dragEnterEvent(QDragEnterEvent* event) {
    event->ignore();
}
void CTapoView::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}
void CTapoView::dropEvent(QDropEvent* event) {
    event->ignore();
}

bool CTapoView::canInsertFromMimeData(const QMimeData*) const {
    return false;
}
void CTapoView::insertFromMimeData(const QMimeData*) {}

void CTapoView::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    InvalidateDisplayLines();
}

void CTapoView::changeEvent(QEvent* event) {
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        InvalidateDisplayLines();
    }
}

// ---- Text area ----------------------------------------------------------------

const std::vector<CTapoView::DisplayLine>& CTapoView::DisplayLines() const {
    QTextDocument* doc = document();
    const qreal width = doc->pageSize().width();
    if (displayLinesValid_ && width == displayLinesWidth_) {
        return displayLines_;
    }
    displayLines_.clear();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        // The layout works lazily; asking for the block's rectangle lays it out.
        layout->blockBoundingRect(block);
        const int blockLength = block.length() - 1;
        const QTextLayout* lines = block.layout();
        const int count = lines ? lines->lineCount() : 0;
        if (count == 0) {
            displayLines_.push_back({block.position(), blockLength});
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = lines->lineAt(i);
            const int start = std::clamp(line.textStart(), 0, blockLength);
            const int length = std::clamp(line.textLength(), 0, blockLength - start);
            displayLines_.push_back({block.position() + start, length});
        }
    }
    displayLinesValid_ = true;
    displayLinesWidth_ = width;
    return displayLines_;
}

int CTapoView::LineCount() const {
    return static_cast<int>(DisplayLines().size());
}

int CTapoView::LineIndex(int line) const {
    const auto& lines = DisplayLines();
    if (line < 0 || line >= static_cast<int>(lines.size())) {
        return -1;
    }
    return lines[static_cast<std::size_t>(line)].position;
}

int CTapoView::LineLength(int position) const {
    const auto& lines = DisplayLines();
    // The last line that starts at or before the position holds it; a
    // paragraph break belongs to the line it ends.
    auto next = std::upper_bound(lines.begin(), lines.end(), position,
                                 [](int pos, const DisplayLine& l) { return pos < l.position; });
    if (next == lines.begin()) {
        return lines.empty() ? 0 : lines.front().length;
    }
    return std::prev(next)->length;
}

int CTapoView::GetLine(int line, int capacity, std::string& out) const {
    out.clear();
    const auto& lines = DisplayLines();
    if (line < 0 || line >= static_cast<int>(lines.size()) || capacity <= 0) {
        return 0;
    }
    const DisplayLine& l = lines[static_cast<std::size_t>(line)];
    const int count = std::min(capacity, l.length);
    const QTextBlock block = document()->findBlock(l.position);
    const QString text = block.text().mid(l.position - block.position(), count);
    // One byte per position, so offsets in the bytes are offsets in the text
    // (a character outside the BMP takes two positions and gives two '?').
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        out.push_back(c.isSurrogate() ? '?' : cp1252::FromUnicode(c.unicode()));
    }
    return static_cast<int>(out.size());
}

int CTapoView::TextLength() const {
    const QTextDocument* doc = document();
    // characterCount holds one separator per paragraph, the last one too.
    return doc->characterCount() + doc->blockCount() - 2;
}

void CTapoView::SetSelection(int start, int end) {
    QTextCursor cursor = textCursor();
    if (start < 0) {
        cursor.clearSelection();
    } else {
        const int last = document()->characterCount() - 1;
        cursor.setPosition(std::min(start, last));
        cursor.setPosition(end < 0 ? last : std::clamp(end, 0, last), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

void CTapoView::DeleteSelection() {
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void CTapoView::CopySelection() {
    copy();
}

CharFormat CTapoView::DefaultCharFormat() const {
    return CharFormat{FromQColor(palette().color(QPalette::Text)),
                      document()->defaultFont().underline()};
}

void CTapoView::FormatSelection(const CharFormat& format) {
    QTextCharFormat change;
    change.setForeground(ToQColor(format.colour));
    change.setFontUnderline(format.underline);
    formatting_ = true;
    mergeCurrentCharFormat(change);
    formatting_ = false;
}

}  // namespace quirtel
