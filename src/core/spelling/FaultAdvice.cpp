#include "core/spelling/FaultAdvice.h"

namespace quirtel {

const char* FaultKindId(FaultKind kind) {
    switch (kind) {
        case FaultKind::Shape:
            return "forma";
        case FaultKind::Accent:
            return "tilde";
        case FaultKind::Unknown:
            break;
    }
    return "desconocida";
}

const char* FaultKindLabel(FaultKind kind) {
    switch (kind) {
        case FaultKind::Shape:
            return "Forma incorrecta";
        case FaultKind::Accent:
            return "Falta de tilde";
        case FaultKind::Unknown:
            break;
    }
    return "Palabra desconocida";
}

}  // namespace quirtel
