#include "gui/common/QtText.h"

#include <QList>

#include "core/common/Cp1252.h"

namespace quirtel {

QString FromCp1252(std::string_view cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (const char c : cp1252) {
        out.append(QChar(static_cast<char16_t>(cp1252::ToUnicode(static_cast<unsigned char>(c)))));
    }
    return out;
}

std::string ToCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const QList<uint> codePoints = text.toUcs4();
    for (const uint cp : codePoints) {
        out.push_back(cp1252::FromUnicode(static_cast<char32_t>(cp)));
    }
    return out;
}

}  // namespace quirtel
