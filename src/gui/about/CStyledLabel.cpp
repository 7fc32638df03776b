#include "gui/about/CStyledLabel.h"

#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>
#include <algorithm>

#include "core/common/MessagePrompt.h"

namespace quirtel {
namespace {

int CellHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

}  // namespace

CStyledLabel::CStyledLabel(MessagePrompt& prompts, QWidget* parent)
    : QLabel(parent), prompts_(prompts) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void CStyledLabel::SetFontStyle(const QString& newFaceName, int newHeight,
                                const QColor& newTextColour, unsigned flags) {
    faceName = newFaceName;
    height = newHeight;
    textColour = newTextColour;
    bold = (flags & BOLD) != 0;
    italic = (flags & ITALIC) != 0;
    underline = (flags & UNDERLINE) != 0;
    strikeOut = (flags & STRIKE_OUT) != 0;
    antialiased = (flags & ANTIALIASED) != 0;
    centred = (flags & CENTRED) != 0;
    rightAligned = !centred && (flags & RIGHT_ALIGNED) != 0;
    leftAligned = !centred && !rightAligned;
    // A new style gets its own report if it cannot be painted either.
    failureReported_ = false;
}

std::optional<QFont> CStyledLabel::PaintFont() const {
    if (height <= 0 || height > MAX_HEIGHT) {
        return std::nullopt;
    }
    QFont font(faceName);
    font.setWeight(bold ? QFont::Black : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::PreferDefault);
    // The height is the character cell, as the label's layouts were made for;
    // Qt's pixel size is the em, which is smaller than the cell in most faces.
    font.setPixelSize(height);
    const int cell = CellHeight(font);
    if (cell > height) {
        int size = std::max(1, height * height / cell);
        font.setPixelSize(size);
        while (size > 1 && CellHeight(font) > height) {
            font.setPixelSize(--size);
        }
    }
    return font;
}

Qt::Alignment CStyledLabel::TextAlignment() const {
    const Qt::Alignment horizontal =
        centred ? Qt::AlignHCenter : (rightAligned ? Qt::AlignRight : Qt::AlignLeft);
    return horizontal | Qt::AlignTop;
}

void CStyledLabel::paintEvent(QPaintEvent*) {
    const std::optional<QFont> font = PaintFont();
    if (!font) {
        ReportFontFailure();
        return;
    }
    QPainter painter(this);
    painter.setPen(textColour);
    painter.setFont(*font);
    // No mnemonic flag, so "&" is drawn as itself; no fill, so the dialog's
    // background shows through.
    painter.drawText(rect(), static_cast<int>(TextAlignment()) | Qt::TextWordWrap, text());
}

void CStyledLabel::ReportFontFailure() {
    // Once per style: a modal message from inside a paint would repaint the
    // label behind it and ask again without end. It is shown after the paint.
    if (failureReported_) {
        return;
    }
    failureReported_ = true;
    QMetaObject::invokeMethod(
        this, [this] { prompts_.ShowMessage("Font could not be created!"); }, Qt::QueuedConnection);
}

}  // namespace quirtel
