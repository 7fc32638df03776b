#include "app/CommandLine.h"

#include "core/common/Cp1252.h"

namespace quirtel {

std::optional<std::string> CommandLineAnswer(const std::vector<std::string_view>& args,
                                             std::string_view version) {
    for (const std::string_view arg : args) {
        if (arg == "--version") {
            return "quirtel " + std::string(version) + "\n";
        }
        if (arg == "--help") {
            return cp1252::ToUtf8(
                "Uso: quirtel [ARCHIVO]\n"
                "\n"
                "Prueba de velocidad de mecanograf\xED"
                "a. Escriba libremente: la primera tecla\n"
                "pone en marcha el reloj; F2 acaba la prueba, Esc la aborta y F3 activa o\n"
                "desactiva el sonido de las teclas. Con ARCHIVO, lo abre como documento.\n"
                "\n"
                "Lee ./datos/es.dic y los sonidos ./datos/*.wav de la carpeta de trabajo (sin\n"
                "./datos/es.dic, los datos instalados) y a\xF1"
                "ade una l\xEDnea a ./estadistica.txt\n"
                "por cada prueba acabada.\n"
                "\n"
                "  --help      muestra esta ayuda\n"
                "  --version   muestra la versi\xF3n\n");
        }
    }
    return std::nullopt;
}

}  // namespace quirtel
