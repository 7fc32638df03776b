// The typing view on the real widget: one typed character with the key click
// on, the whole finish of a long test (count, scan, marks), a copy test's
// keystroke and finish, and the start-up of the main window with the full
// word list.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CTapoDoc.h"
#include "core/session/ModelTextCatalogue.h"
#include "core/session/SoundCues.h"
#include "core/spelling/SpellingResources.h"
#include "core/spelling/WordList.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"
#include "gui/typing/CTapoView.h"
#include "gui/typing/SdlSoundPlayer.h"

namespace {

using quirtel::CTapoDoc;
using quirtel::CTapoView;

class StillClock final : public quirtel::Clock {
public:
    quirtel::CalendarTime Now() const override { return now; }
    quirtel::CalendarTime now = 1'800'000'000;
};

class SilentPlayer final : public quirtel::SoundPlayer {
public:
    bool PlayFile(const std::string&) override { return true; }
    void Beep() override {}
};

// Answers every message and rejects every dialog at once, without showing it.
class QuietPrompts final : public quirtel::Prompts {
public:
    void ShowMessage(std::string_view) override { ++messages; }
    int RunDialog(QDialog&) override { return QDialog::Rejected; }
    QString OpenFileName(QWidget*) override { return {}; }
    QString SaveFileName(QWidget*) override { return {}; }
    int messages = 0;
};

const QTemporaryDir& Scratch() {
    static const QTemporaryDir dir;
    return dir;
}

std::string ScratchPath(const char* name) {
    return Scratch().filePath(QString::fromLatin1(name)).toStdString();
}

// Lower-case ASCII words of the shipped list, so every one of them is correct.
const std::vector<std::string>& CorrectWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> found;
        std::ifstream in(quirtel::WORD_LIST_PATH);
        std::string line;
        for (int n = 0; std::getline(in, line) && found.size() < 2000; ++n) {
            bool plain = line.size() >= 2 && line.size() <= 9;
            for (const char c : line) {
                plain = plain && c >= 'a' && c <= 'z';
            }
            if (plain && n % 37 == 0) {
                found.push_back(line);
            }
        }
        return found;
    }();
    return words;
}

// About `characters` of typed text in paragraphs of about 600 characters, with
// exactly `faulty` tokens that no list holds spread evenly through it.
QString TypedText(int characters, int faulty) {
    const auto& words = CorrectWords();
    std::mt19937 random(7);
    std::vector<QString> tokens;
    int length = 0;
    while (length < characters) {
        tokens.push_back(QString::fromStdString(words[random() % words.size()]));
        length += static_cast<int>(tokens.back().size()) + 1;
    }
    for (int i = 0; i < faulty; ++i) {
        // Letters only: a token with digits in it may pass as a number.
        const auto n = static_cast<char16_t>(i);
        tokens[tokens.size() * static_cast<std::size_t>(i) / static_cast<std::size_t>(faulty)] =
            QStringLiteral("qzx") + QChar(u'a' + n % 26) + QChar(u'a' + n / 26 % 26) +
            QStringLiteral("w");
    }
    QString text;
    int sinceBreak = 0;
    for (const QString& token : tokens) {
        text += token;
        sinceBreak += static_cast<int>(token.size()) + 1;
        text += sinceBreak > 600 ? u'\n' : u' ';
        sinceBreak = sinceBreak > 600 ? 0 : sinceBreak;
    }
    return text;
}

struct View {
    explicit View(quirtel::SoundPlayer& player) {
        document = std::make_unique<CTapoDoc>(prompts);
        spelling = std::make_unique<quirtel::SpellingResources>(quirtel::WORD_LIST_PATH,
                                                                std::string(), &prompts);
        view = std::make_unique<CTapoView>(clock, player, prompts, *spelling);
        QObject::connect(view.get(), &CTapoView::documentTitleChanged, document.get(),
                         &CTapoDoc::SetTitle);
        view->SetStatisticsLogPath(ScratchPath("estadistica.txt"));
        view->resize(640, 420);
        view->show();
        (void)QTest::qWaitForWindowExposed(view.get());
        view->FirstSetUp();
    }
    void Fill(const QString& text) {
        view->AcceptCharacter(U'a');
        QTextCursor cursor = view->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
        view->setTextCursor(cursor);
        QApplication::processEvents();
    }

    StillClock clock;
    QuietPrompts prompts;
    std::unique_ptr<CTapoDoc> document;
    std::unique_ptr<quirtel::SpellingResources> spelling;
    std::unique_ptr<CTapoView> view;
};

// Key events for the characters of a realistic text, one character per call,
// Enter for its paragraph breaks; the text repeats.
class Typist {
public:
    Typist() : text_(TypedText(8000, 0)) {}
    void TypeNext(QWidget& target) {
        const QChar c = text_.at(next_);
        next_ = (next_ + 1) % text_.size();
        const bool enter = c == u'\n';
        const int key = enter ? Qt::Key_Return : Qt::Key_unknown;
        const QString text = enter ? QStringLiteral("\r") : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(&target, &press);
        QApplication::sendEvent(&target, &release);
    }

private:
    QString text_;
    qsizetype next_ = 0;
};

// One key press and release through the view's event handling; with paint,
// the repaint that follows as well.
// Second argument: 1 plays the click through SDL (dummy driver in the
// benchmarks), 0 through a player that does nothing, to tell the two costs apart.
void TypeCharacter(benchmark::State& state, bool paint) {
    quirtel::SdlSoundPlayer sdl(quirtel::SoundCues::SoundFiles());
    SilentPlayer silent;
    View v(state.range(1) != 0 ? static_cast<quirtel::SoundPlayer&>(sdl) : silent);
    auto settings = v.view->Settings();
    settings.keySound = true;
    v.view->SetSettings(settings);
    v.Fill(state.range(0) > 0 ? TypedText(static_cast<int>(state.range(0)), 0) + u'\n' : QString());
    Typist typist;
    for (auto _ : state) {
        typist.TypeNext(*v.view);
        if (paint) {
            QApplication::processEvents();
        }
    }
    state.counters["characters"] = v.view->document()->characterCount();
}

void BM_TypeCharacter(benchmark::State& state) {
    TypeCharacter(state, false);
}

// Baseline: the same key events into a plain QTextEdit holding the same text.
void BM_PlainTextEditCharacter(benchmark::State& state) {
    QTextEdit edit;
    edit.resize(640, 420);
    edit.show();
    (void)QTest::qWaitForWindowExposed(&edit);
    QTextCursor cursor = edit.textCursor();
    cursor.insertText(state.range(0) > 0 ? TypedText(static_cast<int>(state.range(0)), 0) + u'\n'
                                         : QString());
    edit.setTextCursor(cursor);
    QApplication::processEvents();
    Typist typist;
    for (auto _ : state) {
        typist.TypeNext(edit);
    }
}
void BM_TypeCharacterAndPaint(benchmark::State& state) {
    TypeCharacter(state, true);
}

// The first finish of a 30-minute test: count, rating sound, spelling scan
// and marks; the dialog and the log are answered at once.
void BM_FinishTest(benchmark::State& state) {
    SilentPlayer player;
    View v(player);
    // A 30-minute test whose last second has not run out: the timed call is
    // the finish itself, not a repeat of one the tick already made.
    auto settings = v.view->Settings();
    settings.testLength = 1800;
    v.view->SetSettings(settings);
    const QString text = TypedText(static_cast<int>(state.range(0)), 200);
    for (auto _ : state) {
        state.PauseTiming();
        v.view->PrepareTest();
        v.Fill(text);
        v.clock.now += 1799;
        v.view->OnTestTick();
        state.ResumeTiming();
        v.view->FinishTest();
    }
    state.counters["faults"] = v.view->Result().faults;
    state.counters["keystrokes"] = v.view->Result().keystrokes;
}

// The first built-in text, about ten minutes of copying.
quirtel::ModelText CopyModel() {
    const quirtel::ModelTextCatalogue catalogue;
    const auto entries = catalogue.List();
    return entries.empty() ? quirtel::ModelText{} : catalogue.Load(entries.front().fileName).model;
}

// The model as a typist copies it: every tenth word loses its last letter.
QString CopiedText(const quirtel::ModelText& model) {
    const QStringList words = quirtel::FromCp1252(model.text).split(u' ');
    QStringList typed;
    for (qsizetype i = 0; i < words.size(); ++i) {
        typed << (i % 10 == 9 && words[i].size() > 1 ? words[i].chopped(1) : words[i]);
    }
    return typed.join(u' ');
}

// One key of a copy test (the next model word followed) with the model typed
// up to its middle; compare BM_TypeCharacter at the same length, no click.
void BM_TypeCopyCharacter(benchmark::State& state) {
    SilentPlayer player;
    View v(player);
    const quirtel::ModelText model = CopyModel();
    v.view->SetCopyTest(model, quirtel::CopyRules{});
    v.view->PrepareTest();
    const QString copied = CopiedText(model);
    v.Fill(copied.left(copied.size() / 2));
    Typist typist;
    for (auto _ : state) {
        typist.TypeNext(*v.view);
    }
    state.counters["characters"] = v.view->document()->characterCount();
}

// From F2 to the result dialog and the record of a 10-minute copy: judging,
// the marks, the slowest keys and the dialog's tables.
void BM_FinishCopyTest(benchmark::State& state) {
    SilentPlayer player;
    View v(player);
    const quirtel::ModelText model = CopyModel();
    v.view->SetCopyTest(model, quirtel::CopyRules{});
    // Without the last word, which would end the test as soon as it is typed.
    QString copied = CopiedText(model);
    copied.truncate(copied.lastIndexOf(u' '));
    for (auto _ : state) {
        state.PauseTiming();
        v.view->PrepareTest();
        v.Fill(copied);
        // A second short of the limit, which would finish the test in the tick.
        v.clock.now += 599;
        v.view->OnTestTick();
        state.ResumeTiming();
        v.view->FinishTest();
    }
    state.counters["errors"] = v.view->Result().faults;
    state.counters["keystrokes"] = v.view->Result().keystrokes;
}

// From nothing to the main window on screen: sound player, document, main
// window with the view and the full word list, first set-up, show.
void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        StillClock clock;
        QuietPrompts prompts;
        quirtel::SdlSoundPlayer player(quirtel::SoundCues::SoundFiles());
        CTapoDoc document(prompts);
        quirtel::CMainFrame frame(document, clock, player, prompts);
        document.OnNewDocument();
        frame.show();
        if (!QTest::qWaitForWindowExposed(&frame)) {
            state.SkipWithError("window not exposed");
        }
        state.PauseTiming();
        state.counters["wordListLoaded"] = frame.View().Spelling().Words().IsLoaded() ? 1 : 0;
        frame.close();
        state.ResumeTiming();
    }
}

// The machine may be shared: each figure is repeated and its median reported.
void Typing(benchmark::internal::Benchmark* benchmark) {
    benchmark->Args({0, 1})->Args({20000, 1})->Args({20000, 0});
    benchmark->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_PlainTextEditCharacter)
    ->Arg(0)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TypeCharacter)->Apply(Typing);
BENCHMARK(BM_TypeCharacterAndPaint)->Apply(Typing);
BENCHMARK(BM_FinishTest)->Arg(12000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_TypeCopyCharacter)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FinishCopyTest)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    // The program reads ./datos from its working folder; so do the benchmarks.
    if (chdir(QUIRTEL_SOURCE_DIR) != 0) {
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
