#include "gui/copy/CopyFileRefusal.h"

namespace quirtel {

std::string CopyFileRefusalText(CopyFileRefusal refusal) {
    switch (refusal) {
        case CopyFileRefusal::None:
            return {};
        case CopyFileRefusal::Empty:
            return "El archivo est\xE1 vac\xEDo.";
        case CopyFileRefusal::Binary:
            return "El archivo no es de texto.";
        case CopyFileRefusal::TooLarge:
            return "El archivo pasa de 1 MiB.";
        case CopyFileRefusal::Unreadable:
            return "No se puede leer el archivo.";
    }
    return {};
}

}  // namespace quirtel
