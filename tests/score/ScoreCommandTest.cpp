// Runs the quirtel-score binary on small texts in a temporary folder.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ScoreCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = fs::temp_directory_path() / "quirtel-score-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_directory(dir_ / "datos");
        Write("datos/es.dic",
              "hola\nmundo\n\xF1"
              "and\xFA\n");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Runs the scorer in the temporary folder with `input` on standard input;
    // `stdoutPath`, or else the descriptor `stdoutFd`, replaces the captured
    // output when given.
    Outcome Score(const std::vector<std::string>& args, const std::string& input = "",
                  const std::string& stdoutPath = "", int stdoutFd = -1) const {
        Write("entrada", input);
        const fs::path out = stdoutPath.empty() ? dir_ / "salida" : fs::path(stdoutPath);
        const fs::path err = dir_ / "errores";
        std::vector<std::string> argv = {binary_};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (std::string& arg : argv) {
            raw.push_back(arg.data());
        }
        raw.push_back(nullptr);

        const pid_t pid = ::fork();
        if (pid == 0) {
            const int in = ::open((dir_ / "entrada").c_str(), O_RDONLY);
            const int o =
                stdoutFd >= 0 ? stdoutFd : ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 ||
                ::dup2(e, 2) < 0 || ::chdir(dir_.c_str()) != 0) {
                ::_exit(127);
            }
            ::execv(raw[0], raw.data());
            ::_exit(127);
        }
        Outcome run;
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
        }
        run.out = stdoutPath.empty() && stdoutFd < 0 ? Read(out) : "";
        run.err = Read(err);
        return run;
    }

    fs::path dir_;
    std::string binary_ = QUIRTEL_SCORE_BINARY;
};

TEST_F(ScoreCommandTest, PlainReportsOfTheFinishedTestExamples) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string report;
    } cases[] = {
        {{"--seconds", "60"},
         "Hola Mundo",
         "Caracteres: 10\nSaltos de l\xC3\xADnea: 0\nMay\xC3\xBAsculas: 2\nPulsaciones: 12\n"
         "Tiempo: 01:00 minutos\nVelocidad: 12.00 caracteres/min\nFaltas: 0\n"
         "Velocidad neta: 12.00 caracteres/min\nPalabras con faltas:\n"},
        {{"--seconds=60", "--capitals-single"},
         "Hola Mundo",
         "Caracteres: 10\nSaltos de l\xC3\xADnea: 0\nMay\xC3\xBAsculas: 2\nPulsaciones: 10\n"
         "Tiempo: 01:00 minutos\nVelocidad: 10.00 caracteres/min\nFaltas: 0\n"
         "Velocidad neta: 10.00 caracteres/min\nPalabras con faltas:\n"},
        {{"--seconds", "240"},
         "qz xw jk",
         "Caracteres: 8\nSaltos de l\xC3\xADnea: 0\nMay\xC3\xBAsculas: 0\nPulsaciones: 8\n"
         "Tiempo: 04:00 minutos\nVelocidad: 2.00 caracteres/min\nFaltas: 3\n"
         "Velocidad neta: -1.00 caracteres/min\nPalabras con faltas:\n"
         "l\xC3\xADnea 1, columna 1: qz (desconocida; sin sugerencias)\n"
         "l\xC3\xADnea 1, columna 4: xw (desconocida; sin sugerencias)\n"
         "l\xC3\xADnea 1, columna 7: jk (desconocida; sin sugerencias)\n"},
        {{"--no-spelling", "--seconds", "120"},
         "qz xw jk",
         "Caracteres: 8\nSaltos de l\xC3\xADnea: 0\nMay\xC3\xBAsculas: 0\nPulsaciones: 8\n"
         "Tiempo: 02:00 minutos\nVelocidad: 4.00 caracteres/min\n"
         "Faltas: <ortograf\xC3\xAD"
         "a desactivada>\nVelocidad neta: 4.00 caracteres/min\nPalabras con faltas:\n"},
        {{},
         "",
         "Caracteres: 0\nSaltos de l\xC3\xADnea: 0\nMay\xC3\xBAsculas: 0\nPulsaciones: 0\n"
         "Tiempo: 10:00 minutos\nVelocidad: 0.00 caracteres/min\nFaltas: 0\n"
         "Velocidad neta: 0.00 caracteres/min\nPalabras con faltas:\n"},
        {{"--seconds", "0"},
         "hola xq",
         "Caracteres: 7\nSaltos de l\xC3\xADnea: 0\nMay\xC3\xBAsculas: 0\nPulsaciones: 7\n"
         "Tiempo: 00:00 minutos\nVelocidad: 0.00 caracteres/min\nFaltas: 1\n"
         "Velocidad neta: -1.00 caracteres/min\nPalabras con faltas:\n"
         "l\xC3\xADnea 1, columna 6: xq (desconocida; sin sugerencias)\n"},
    };
    for (const auto& c : cases) {
        const Outcome run = Score(c.args, c.input);
        EXPECT_EQ(run.exitCode, 0) << c.input;
        EXPECT_EQ(run.out, c.report) << c.input;
        EXPECT_EQ(run.err, "") << c.input;
    }
}

TEST_F(ScoreCommandTest, JsonReportEscapesTokensAndKeepsTheSpeedExact) {
    Outcome run = Score({"--json", "--seconds", "240"}, "qz xw jk");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "{\"characters\":8,\"lineBreaks\":0,\"capitals\":0,\"keystrokes\":8,"
              "\"elapsedSeconds\":240,\"speed\":2,\"speedText\":\"2.00 caracteres/min\","
              "\"timeText\":\"04:00 minutos\",\"spellCheck\":true,\"faults\":3,"
              "\"faultsText\":\"3\",\"netSpeedText\":\"-1.00 caracteres/min\","
              "\"faultyTokens\":[{\"line\":1,\"column\":1,\"text\":\"qz\","
              "\"kind\":\"desconocida\",\"suggestions\":[]},"
              "{\"line\":1,\"column\":4,\"text\":\"xw\","
              "\"kind\":\"desconocida\",\"suggestions\":[]},"
              "{\"line\":1,\"column\":7,\"text\":\"jk\","
              "\"kind\":\"desconocida\",\"suggestions\":[]}]}\n");

    // Quotes, backslashes, tabs (part of a token) and other control characters.
    run = Score({"--json", "--seconds", "7"}, "hola \"q\\z\tw\x01 \xC3\xB1u");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\"speed\":128.57142857142858,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"speedText\":\"128.57 caracteres/min\""), std::string::npos);
    EXPECT_NE(run.out.find("\"faultyTokens\":[{\"line\":1,\"column\":6,"
                           "\"text\":\"\\\"q\\\\z\\tw\\u0001\",\"kind\":\"forma\","
                           "\"suggestions\":[]},{\"line\":1,\"column\":14,\"text\":\"\xC3\xB1u\","
                           "\"kind\":\"desconocida\",\"suggestions\":[]}]}"),
              std::string::npos)
        << run.out;

    run = Score({"--json", "--no-spelling"}, "x");
    EXPECT_NE(run.out.find("\"spellCheck\":false,\"faults\":0,\"faultsText\":\"<ortograf\xC3\xAD"
                           "a desactivada>\""),
              std::string::npos)
        << run.out;
}

TEST_F(ScoreCommandTest, LineEndsAndEncodingsGiveTheSameFigures) {
    const std::string figures =
        "Caracteres: 13\nSaltos de l\xC3\xADnea: 2\nMay\xC3\xBAsculas: 0\n"
        "Pulsaciones: 15\n";
    const struct {
        const char* what;
        std::string input;
    } cases[] = {
        {"LF",
         "\xC3\x91"
         "and\xC3\xBA xq\n\n\xC3\x81vila"},
        {"CR LF",
         "\xC3\x91"
         "and\xC3\xBA xq\r\n\r\n\xC3\x81vila"},
        {"Windows-1252",
         "\xD1"
         "and\xFA xq\n\r\n\xC1vila"},
        {"byte order mark",
         "\xEF\xBB\xBF\xC3\x91"
         "and\xC3\xBA xq\n\n\xC3\x81vila"},
    };
    for (const auto& c : cases) {
        const Outcome run = Score({}, c.input);
        EXPECT_EQ(run.exitCode, 0) << c.what;
        EXPECT_EQ(run.out.substr(0, figures.size()), figures) << c.what;
        // "ñandú" is in the Windows-1252 word list; "ávila" is not.
        EXPECT_NE(run.out.find("Faltas: 2\n"), std::string::npos) << c.what;
        EXPECT_NE(run.out.find("Palabras con faltas:\nl\xC3\xADnea 1, columna 7: xq ("
                               "desconocida; sin sugerencias)\n"
                               "l\xC3\xADnea 3, columna 1: \xC3\x81vila (desconocida; sin "
                               "sugerencias)\n"),
                  std::string::npos)
            << c.what << "\n"
            << run.out;
    }

    // A final line break counts; a character outside Windows-1252 counts once.
    Outcome run = Score({}, "hola\n");
    EXPECT_NE(run.out.find("Caracteres: 4\nSaltos de l\xC3\xADnea: 1\n"), std::string::npos);
    run = Score({}, "a\xE2\x86\x92z");
    EXPECT_NE(run.out.find("Caracteres: 3\n"), std::string::npos);
    EXPECT_NE(run.out.find("columna 1: a?z ("), std::string::npos) << run.out;
}

TEST_F(ScoreCommandTest, FileArgumentAndDictionaryOption) {
    Write("texto.txt", "hola mundo casa");
    Write("otra.dic", "casa\n");
    Outcome run = Score({"texto.txt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Faltas: 1\n"), std::string::npos);
    EXPECT_NE(run.out.find("columna 12: casa ("), std::string::npos);

    run = Score({"--dictionary", "otra.dic", "--", "texto.txt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Faltas: 2\n"), std::string::npos) << run.out;

    run = Score({"-"}, "xq");
    EXPECT_NE(run.out.find("Faltas: 1\n"), std::string::npos);
}

TEST_F(ScoreCommandTest, NoScoreWithoutAWordListUnlessTheCheckIsOff) {
    // A list named but not readable is an error, never "Faltas: 0".
    for (const std::string named : {"no-existe.dic", "datos"}) {
        const Outcome run = Score({"--dictionary", named}, "qwz hola?!");
        EXPECT_EQ(run.exitCode, 2) << named;
        EXPECT_EQ(run.out, "") << named;
        EXPECT_EQ(run.err, "quirtel-score: no se puede leer la lista de palabras " + named +
                               " (sin lista, use --no-spelling)\n");
    }
    // Without ./datos the installed list is read, and that is said once.
    fs::remove_all(dir_ / "datos");
    binary_ = QUIRTEL_SCORE_SOURCE_DATA_BINARY;
    Outcome run = Score({}, "hola holq");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "quirtel-score: no hay ./datos/es.dic; uso los datos instalados en " +
                           std::string(QUIRTEL_SOURCE_DATA) + "\n");
    EXPECT_NE(run.out.find("Faltas: 1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("columna 6: holq ("), std::string::npos) << run.out;
    // Without the spelling check no list is needed, so nothing is said.
    run = Score({"--no-spelling"}, "qwz");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    // A list of its own in ./datos, under any case of its name, comes first.
    fs::create_directory(dir_ / "datos");
    Write("datos/ES.DIC", "holq\n");
    run = Score({}, "hola holq");
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("columna 1: hola ("), std::string::npos) << run.out;
}

TEST_F(ScoreCommandTest, FaultKindsSuggestionsAndPersonalList) {
    Write("datos/es.dic",
          "hola\nmundo\n\xF1"
          "and\xFA\ncanci\xF3n\n");
    Write("datos/frecuencias.txt", "mundo\n");
    Write("mias.dic", "akutagawa\n");
    const std::string text = "Cancion NANDU hola.. Akutagawa mundi";
    Outcome run = Score({"--personal", "mias.dic"}, text);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Faltas: 4\n"), std::string::npos) << run.out;
    EXPECT_NE(
        run.out.find("Palabras con faltas:\n"
                     "l\xC3\xADnea 1, columna 1: Cancion (tilde; sugerencias: Canci\xC3\xB3n)\n"
                     "l\xC3\xADnea 1, columna 9: NANDU (tilde; sugerencias: \xC3\x91"
                     "AND\xC3\x9A)\n"
                     "l\xC3\xADnea 1, columna 15: hola.. (forma; sin sugerencias)\n"
                     "l\xC3\xADnea 1, columna 32: mundi (desconocida; sugerencias: mundo)\n"),
        std::string::npos)
        << run.out;

    // Without the personal list the name is a fault too; JSON carries UTF-8.
    run = Score({"--json"}, text);
    EXPECT_NE(run.out.find("\"faults\":5,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"text\":\"Cancion\",\"kind\":\"tilde\","
                           "\"suggestions\":[\"Canci\xC3\xB3n\"]}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"text\":\"Akutagawa\",\"kind\":\"desconocida\",\"suggestions\":[]}"),
              std::string::npos)
        << run.out;

    // A personal list named but not there, or not named, is a usage error.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--personal", "no-existe.dic"}, {"--personal=datos"}, {"--personal"}}) {
        run = Score(args, text);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_EQ(run.out, "") << args.back();
        EXPECT_NE(run.err.find("personal"), std::string::npos) << run.err;
    }
}

TEST_F(ScoreCommandTest, BadUsageAndUnreadableInputExitWithTwo) {
    fs::create_directory(dir_ / "carpeta");
    Write("grande.dic", "");
    fs::resize_file(dir_ / "grande.dic", (std::uintmax_t{16} << 20) + 1);
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"-x"},
        {"--seconds"},
        {"--seconds", "-1"},
        {"--seconds", "+5"},
        {"--seconds", "2147483648"},
        {"--seconds", "99999999999999999999"},
        {"--seconds", "1.5"},
        {"--seconds="},
        {"--dictionary"},
        {"uno.txt", "dos.txt"},
        {"no-existe.txt"},
        {"carpeta"},
        {"--json", "--seconds", "abc", "--help"},
        // Options of scoring mean nothing to --history.
        {"--history", "--seconds", "5"},
        {"--history", "--no-spelling"},
        {"--history", "--capitals-single"},
        {"--history", "--dictionary", "otra.dic"},
        {"--personal", "no-existe.dic", "--history"},
        {"--personal", "grande.dic"},
    };
    for (const auto& args : cases) {
        const Outcome run = Score(args, "hola");
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        EXPECT_EQ(run.err.rfind("quirtel-score: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_NE(Score({"--personal", "grande.dic"}, "hola").err.find("pasa de 16777216 bytes"),
              std::string::npos);
}

TEST_F(ScoreCommandTest, HelpLimitsAndOutputFailures) {
    Outcome run = Score({"--help", "--bogus"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Uso: quirtel-score", 0), 0u);

    run = Score({"--seconds", "2147483647", "--json"}, "hola");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\"elapsedSeconds\":2147483647,"), std::string::npos);
    EXPECT_NE(run.out.find("\"speedText\":\"0.00 caracteres/min\""), std::string::npos);

    if (::access("/dev/full", W_OK) == 0) {
        run = Score({}, "hola", "/dev/full");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("no se puede escribir"), std::string::npos);
    }
    // A reader that has gone: the write fails, and the status says so.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    run = Score({}, "hola", "", ends[1]);
    ::close(ends[1]);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no se puede escribir"), std::string::npos);
}

TEST_F(ScoreCommandTest, LargeInputIsScoredWholeOrRefusedNeverCut) {
    // Beyond the typing view's 16,777,215 characters: the token at the end counts.
    Outcome run = Score({"--no-spelling"}, std::string(16'777'215, 'a') + " b");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Caracteres: 16777217\n"), std::string::npos);
    run = Score({}, std::string(16'777'215, ' ') + "xq");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("Faltas: 1\n"), std::string::npos);
    EXPECT_NE(run.out.find("columna 16777216: xq ("), std::string::npos);

    // More than 64 MiB, from a (sparse) file or from an endless device, is refused.
    {
        std::ofstream big(dir_ / "grande.txt", std::ios::binary);
        big.seekp(64 * 1024 * 1024);
        big.put('x');
    }
    for (const char* file : {"grande.txt", "/dev/zero"}) {
        run = Score({file});
        EXPECT_EQ(run.exitCode, 2) << file;
        EXPECT_EQ(run.out, "") << file;
        EXPECT_NE(run.err.find("67108864 bytes (64 MiB)"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }

    run = Score({"--help"});
    for (const char* code : {"\n  0  ", "\n  1  ", "\n  2  "}) {
        EXPECT_NE(run.out.find(code), std::string::npos) << code;
    }
}

TEST_F(ScoreCommandTest, ModelJudgesACopyAsTextOrJson) {
    Write("modelo.txt", "El ni\xC3\xB1o est\xC3\xA1 en la casa.\nSigue el texto.");
    Outcome run = Score({"--model", "modelo.txt", "--json", "--seconds=60", "--pass", "30"},
                        "El nino esta enla\ncasa.");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"errors\":3,\"errorsByKind\":{\"tilde\":2,\"may\xC3\xBAscula\":0,\"letra\":0,"
              "\"puntuaci\xC3\xB3n\":0,\"unidas\":1,\"separadas\":0,\"omitida\":0,\"a\xC3\xB1"
              "adida\":0},\"accuracy\":33.333333333333336,\"keystrokes\":24,\"elapsedSeconds\":60,"
              "\"grossSpeed\":24,\"netSpeed\":9,\"pass\":false,\"wordsReached\":6,"
              "\"correctWords\":2,\"keySlips\":[{\"expected\":\"\xC3\xA1\",\"typed\":\"a\","
              "\"count\":1},{\"expected\":\"\xC3\xB1\",\"typed\":\"n\",\"count\":1}],"
              "\"alignment\":[{\"kind\":\"tilde\",\"model\":\"ni\xC3\xB1o\",\"typed\":\"nino\","
              "\"line\":1,\"column\":4},{\"kind\":\"tilde\",\"model\":\"est\xC3\xA1\","
              "\"typed\":\"esta\",\"line\":1,\"column\":9},{\"kind\":\"unidas\",\"model\":"
              "\"en la\",\"typed\":\"enla\",\"line\":1,\"column\":14}]}\n");
    run = Score({"--model", "modelo.txt", "--penalty=0"}, "El niño");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("\nErrores: 0\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Resultado"), std::string::npos) << run.out;

    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--model", "nada.txt"},
                                               {"--model", "datos"},
                                               {"--pass", "5"},
                                               {"--model", "modelo.txt", "--penalty", "101"},
                                               {"--model", "modelo.txt", "--max-errors", "x"},
                                               {"--model", "modelo.txt", "--history"},
                                               {"--model", "modelo.txt", "nada.txt"}}) {
        run = Score(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST_F(ScoreCommandTest, HistoryReadsTheLogInThreeForms) {
    Write("estadistica.txt",
          "\r\n06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- "
          "Pulsaciones: 201.40 caracteres/min\r\n07-dic-2026 08:25 --- 180.00 caracteres/min --- "
          "10:00 minutos --- Faltas: <ortograf\xED"
          "a desactivada> --- Pulsaciones: 180.00 caracteres/min --- Copia: Acta \"1\xBA\" --- "
          "Precisi\xF3n: 98.40 %\r\nbasura");
    Outcome run = Score({"--history", "--json"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(
        run.out,
        "{\"records\":[{\"date\":\"2026-12-06T08:15\",\"elapsedSeconds\":300,\"speed\":212.4,"
        "\"faults\":11,\"spellCheck\":true,\"netSpeed\":201.4,\"kind\":\"libre\",\"text\":null,"
        "\"accuracy\":null},{\"date\":\"2026-12-07T08:25\","
        "\"elapsedSeconds\":600,\"speed\":180,\"faults\":null,\"spellCheck\":false,"
        "\"netSpeed\":180,\"kind\":\"copia\",\"text\":\"Acta "
        "\\\"1\xC2\xBA\\\"\",\"accuracy\":98.4}],\"unreadableLines\":1,\"summary\":{\"tests\":2,"
        "\"totalSeconds\":900,"
        "\"bestNetSpeed\":201.4,\"bestDate\":\"2026-12-06T08:15\",\"averageNetSpeedLast10\":190.7,"
        "\"averageNetSpeedPrevious10\":null,\"averageFaults\":11}}\n");
    run = Score({"--csv", "--history", "estadistica.txt"});
    EXPECT_EQ(run.out,
              "fecha,segundos,velocidad,faltas,pulsaciones\n2026-12-06T08:15,300,212.4,11,201.4\n"
              "2026-12-07T08:25,600,180,,180\n");
    run = Score({"--history"});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "06/12/2026 08:15 --- 05:00 minutos --- Velocidad bruta: 212.40 caracteres/min --- "
              "Faltas: 11 --- Velocidad neta (pulsaciones finales): 201.40 caracteres/min");
    EXPECT_NE(run.out.find("\nPruebas: 2\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" --- Copia: Acta \"1\xC2\xBA\" --- Precisi\xC3\xB3n: 98.40 %\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\nL\xC3\xAD"
                           "neas ilegibles: 1\n"),
              std::string::npos);

    // A record hidden in the progress window stays out unless --all.
    fs::create_directory(dir_ / "quirtel");
    Write("quirtel/ocultas.txt",
          "06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- "
          "Pulsaciones: 201.40 caracteres/min\r\n");
    ::setenv("XDG_DATA_HOME", dir_.c_str(), 1);
    run = Score({"--history", "--csv"});
    EXPECT_EQ(run.out,
              "fecha,segundos,velocidad,faltas,pulsaciones\n2026-12-07T08:25,600,180,,180\n");
    EXPECT_EQ(run.err, "quirtel-score: Pruebas ocultas (no se muestran; --all las incluye): 1\n");
    run = Score({"--history", "--all", "--csv"});
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
    ::unsetenv("XDG_DATA_HOME");

    // A missing log has no tests yet; anything else that cannot be read is an error.
    run = Score({"--history", "--csv", "nada.txt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "fecha,segundos,velocidad,faltas,pulsaciones\n");
    EXPECT_EQ(run.err, "quirtel-score: A\xC3\xBAn no hay pruebas: no existe nada.txt.\n");

    // With no ./estadistica.txt the launcher's log is read, and named.
    fs::remove(dir_ / "estadistica.txt");
    fs::create_directories(dir_ / "xdg/quirtel");
    Write("xdg/quirtel/estadistica.txt",
          "06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- "
          "Pulsaciones: 201.40 caracteres/min\r\n");
    const std::string xdg = (dir_ / "xdg").string();
    ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    run = Score({"--history", "--csv"});
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "fecha,segundos,velocidad,faltas,pulsaciones\n2026-12-06T08:15,300,212.4,11,201.4\n");
    EXPECT_EQ(run.err, "quirtel-score: no hay ./estadistica.txt; uso el registro " + xdg +
                           "/quirtel/estadistica.txt\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--history", "datos"}, {"--csv"}, {"--all"}, {"--history", "--json", "--csv"}}) {
        run = Score(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

}  // namespace
