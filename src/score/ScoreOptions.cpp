#include "score/ScoreOptions.h"

#include "core/common/Cp1252.h"
#include "core/spelling/WordList.h"

namespace quirtel {
namespace {

constexpr std::string_view kHelpHint = " (--help muestra el uso)";

bool ParseSeconds(std::string_view text, std::int32_t& seconds, std::int64_t most = 2147483647) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value > most) {
        return false;
    }
    seconds = static_cast<std::int32_t>(value);
    return true;
}

// An option with a value, given as "--name value" or "--name=value". Returns
// false when `arg` is not this option; sets `missing` when the value is absent.
bool TakeValue(std::string_view name, const std::vector<std::string_view>& args, std::size_t& i,
               std::string_view& value, bool& missing) {
    const std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

// A whole number from 0 to `most` as the value of `name`.
bool TakeNumber(std::string_view name, std::int64_t most, const std::vector<std::string_view>& args,
                std::size_t& i, int& number, bool& taken, std::string& error) {
    std::string_view value;
    bool missing = false;
    if (!TakeValue(name, args, i, value, missing)) {
        return true;
    }
    taken = true;
    std::int32_t parsed = 0;
    if (missing || !ParseSeconds(value, parsed, most)) {
        error = std::string(name) + cp1252::ToUtf8(" espera un n\xFAmero entero de 0 a ") +
                std::to_string(most) + std::string(kHelpHint);
        return false;
    }
    number = parsed;
    return true;
}

// The combinations that only --history or --model allow or that they forbid.
// `scoringOption` is the first option given that only scoring uses, if any.
bool CheckHistoryOptions(const ScoreOptions& options, bool rulesGiven,
                         std::string_view scoringOption, std::string& error) {
    if (rulesGiven && !options.model) {
        error = "--penalty, --pass y --max-errors solo valen con --model" + std::string(kHelpHint);
    } else if (options.model && options.history) {
        error = "--model y --history no van juntas" + std::string(kHelpHint);
    } else if (options.history && !scoringOption.empty()) {
        error = std::string(scoringOption) + " no vale con --history" + std::string(kHelpHint);
    } else if (options.csv && !options.history) {
        error = "--csv solo vale con --history" + std::string(kHelpHint);
    } else if (options.all && !options.history) {
        error = "--all solo vale con --history" + std::string(kHelpHint);
    } else if (options.csv && options.json) {
        error = "--csv y --json no van juntas" + std::string(kHelpHint);
    } else if (options.history && options.file == "-") {
        error = cp1252::ToUtf8("--history lee un archivo, no la entrada est\xE1ndar") +
                std::string(kHelpHint);
    } else {
        return true;
    }
    return false;
}

}  // namespace

bool ParseScoreOptions(const std::vector<std::string_view>& args, ScoreOptions& options,
                       std::string& error) {
    options.dictionary = WORD_LIST_PATH;
    bool optionsEnded = false;
    bool rulesGiven = false;
    std::string_view scoringOption;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
        if (!isOption) {
            if (options.file) {
                error = "sobra un archivo: " + std::string(arg) + std::string(kHelpHint);
                return false;
            }
            options.file = std::string(arg);
            continue;
        }
        std::string_view value;
        bool missing = false;
        const auto scoringOnly = [&](std::string_view name) {
            if (scoringOption.empty()) {
                scoringOption = name;
            }
        };
        bool taken = false;
        if (!TakeNumber("--penalty", 100, args, i, options.penalty, taken, error) ||
            (!taken &&
             !TakeNumber("--pass", 2147483647, args, i, options.passMark, taken, error)) ||
            (!taken &&
             !TakeNumber("--max-errors", 100, args, i, options.maxErrorsPercent, taken, error))) {
            return false;
        }
        rulesGiven = rulesGiven || taken;
        if (taken) {
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--capitals-single") {
            options.capitalsDouble = false;
            scoringOnly(arg);
        } else if (arg == "--no-spelling") {
            options.spellCheck = false;
            scoringOnly(arg);
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--history") {
            options.history = true;
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--all") {
            options.all = true;
        } else if (TakeValue("--seconds", args, i, value, missing)) {
            scoringOnly("--seconds");
            if (missing || !ParseSeconds(value, options.seconds)) {
                error = cp1252::ToUtf8("--seconds espera un n\xFAmero entero de 0 a 2147483647") +
                        std::string(kHelpHint);
                return false;
            }
        } else if (TakeValue("--dictionary", args, i, value, missing)) {
            scoringOnly("--dictionary");
            if (missing || value.empty()) {
                error =
                    "--dictionary espera la ruta de una lista de palabras" + std::string(kHelpHint);
                return false;
            }
            options.dictionary = std::string(value);
            options.dictionaryGiven = true;
        } else if (TakeValue("--model", args, i, value, missing)) {
            if (missing || value.empty()) {
                error = "--model espera la ruta del texto modelo" + std::string(kHelpHint);
                return false;
            }
            options.model = std::string(value);
        } else if (TakeValue("--personal", args, i, value, missing)) {
            scoringOnly("--personal");
            if (missing || value.empty()) {
                error = "--personal espera la ruta de una lista personal de palabras" +
                        std::string(kHelpHint);
                return false;
            }
            options.personal = std::string(value);
        } else {
            error = cp1252::ToUtf8("opci\xF3n desconocida: ") + std::string(arg) +
                    std::string(kHelpHint);
            return false;
        }
    }
    return CheckHistoryOptions(options, rulesGiven, scoringOption, error);
}

std::string ScoreUsage() {
    return cp1252::ToUtf8(
        "Uso: quirtel-score [--seconds N] [--capitals-single] [--no-spelling]\n"
        "                     [--dictionary RUTA] [--personal RUTA] [--json] [ARCHIVO]\n"
        "     quirtel-score --model MODELO [--penalty N] [--pass N] [--max-errors PCT]\n"
        "                     [--seconds N] [--capitals-single] [--json] [ARCHIVO]\n"
        "     quirtel-score --history [--all] [--json | --csv] [REGISTRO]\n"
        "\n"
        "Punt\xFA"
        "a un texto como al final de una prueba de mecanograf\xED"
        "a: cuenta caracteres,\n"
        "saltos de l\xEDnea y may\xFAsculas, calcula la velocidad y busca las palabras con\n"
        "faltas. Lee ARCHIVO, o la entrada est\xE1ndar sin \xE9l (o con \"-\"). El texto se "
        "lee\n"
        "como UTF-8 si lo es y, si no, como Windows-1252; cada l\xEDnea de la entrada es\n"
        "una l\xEDnea del texto. Cada palabra con faltas lleva su tipo (forma, tilde o\n"
        "desconocida) y lo que probablemente se quiso escribir (esto, para las primeras\n"
        "2000 palabras distintas con faltas).\n"
        "\n"
        "  --seconds N         tiempo de escritura en segundos, de 0 a 2147483647\n"
        "                      (600 si no se indica)\n"
        "  --capitals-single   cada may\xFAscula cuenta una sola pulsaci\xF3n\n"
        "  --no-spelling       sin comprobaci\xF3n ortogr\xE1"
        "fica\n"
        "  --dictionary RUTA   lista de palabras (si no se indica, ./datos/es.dic o, si\n"
        "                      no existe, la instalada)\n"
        "  --personal RUTA     lista personal de palabras, que tambi\xE9n se aceptan\n"
        "                      (ninguna si no se indica)\n"
        "  --json              el resultado como un objeto JSON\n"
        "  --model MODELO      juzga ARCHIVO como copia del texto MODELO\n"
        "  --penalty N         con --model: pulsaciones que resta cada error, de 0 a 100\n"
        "                      (5 si no se indica)\n"
        "  --pass N            con --model: pulsaciones netas por minuto para el apto\n"
        "                      (0: sin nota m\xEDnima, si no se indica)\n"
        "  --max-errors PCT    con --model: errores permitidos, en % de las palabras\n"
        "                      alcanzadas, de 0 a 100 (0: sin l\xEDmite, si no se indica)\n"
        "  --help              muestra esta ayuda\n"
        "\n"
        "Con --model compara ARCHIVO con MODELO palabra por palabra, con el menor\n"
        "n\xFAmero de errores: cuenta un error por cada palabra del modelo escrita de otra\n"
        "forma (por muchos fallos que tenga), omitida, a\xF1"
        "adida, unida a la siguiente o\n"
        "partida en dos; los espacios y saltos de l\xEDnea de m\xE1s o de menos no cuentan, y\n"
        "lo que queda del modelo tras la \xFAltima palabra alcanzada tampoco. Da los\n"
        "errores por tipo (tilde, may\xFAscula, letra, puntuaci\xF3n, unidas, separadas,\n"
        "omitida, a\xF1"
        "adida), la precisi\xF3n, la velocidad bruta y la neta (pulsaciones menos\n"
        "errores por penalizaci\xF3n, por minuto, nunca menos de 0) y, si se indica\n"
        "--pass o --max-errors, \"Apto\" o \"No apto\". MODELO se lee como ARCHIVO.\n"
        "\n"
        "Con --history no punt\xFA"
        "a ning\xFAn texto: lee el registro de pruebas REGISTRO\n"
        "(si no se indica, ./estadistica.txt o, si no existe, el de quirtel-launch:\n"
        "~/.local/share/quirtel/estadistica.txt) y muestra cada prueba y el resumen\n"
        "del progreso; --json lo da como un objeto JSON y --csv como CSV. De un registro\n"
        "de m\xE1s de 64 MiB se leen solo los \xFAltimos 64 MiB. Un registro que no existe\n"
        "no tiene pruebas (estado 0). Las pruebas ocultas en la ventana Progreso\n"
        "(guardadas en ~/.local/share/quirtel/ocultas.txt) no se muestran salvo con\n"
        "--all.\n"
        "\n"
        "Lee como mucho 64 MiB (67108864 bytes); una entrada mayor no se punt\xFA"
        "a.\n"
        "\n"
        "Estado de salida:\n"
        "  0  texto puntuado o registro le\xED"
        "do\n"
        "  1  no se ha podido escribir el resultado (disco lleno, tuber\xED"
        "a cerrada)\n"
        "  2  l\xEDnea de \xF3rdenes incorrecta, archivo ilegible o entrada (o MODELO)\n"
        "     mayor de 64 MiB\n"
        "     (con --history: un REGISTRO que existe pero no se puede leer); sin\n"
        "     --no-spelling, tambi\xE9n una lista de palabras que no se puede leer\n");
}

}  // namespace quirtel
