#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <optional>

namespace quirtel {

class MessagePrompt;

// A static text that paints itself in a face, cell height, colour, weight and
// alignment of its own, independent of the dialog's font. The text stays the
// QLabel's text, so screen readers read it as usual.
class CStyledLabel : public QLabel {
    Q_OBJECT

public:
    // Bits of SetFontStyle's flags; only the low eight bits count, 0x40 means nothing.
    enum StyleFlag : unsigned {
        BOLD = 0x01,
        ITALIC = 0x02,
        UNDERLINE = 0x04,
        STRIKE_OUT = 0x08,
        ANTIALIASED = 0x10,
        CENTRED = 0x20,
        RIGHT_ALIGNED = 0x80,  // when CENTRED is clear
    };

    // Cell heights beyond this make no sensible label and would only make the
    // font engine rasterise huge glyphs: such a style counts as a font that
    // cannot be created, like a height of 0 or less.
    static constexpr int MAX_HEIGHT = 1000;

    explicit CStyledLabel(MessagePrompt& prompts, QWidget* parent = nullptr);

    // Replaces face, height and colour, clears the five style switches, sets
    // those whose bits are set, and the alignment from 0x20 and 0x80. Does not
    // repaint: the next paint uses the new style.
    void SetFontStyle(const QString& faceName, int height, const QColor& textColour,
                      unsigned flags);

    // The font a paint draws with: `faceName` at the largest pixel size whose
    // character cell (ascent + descent) is at most `height`; nothing when the
    // style cannot give a font.
    std::optional<QFont> PaintFont() const;
    // Horizontal alignment from the switches, always with top alignment.
    Qt::Alignment TextAlignment() const;

    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool antialiased = false;
    bool centred = false;
    bool leftAligned = true;
    bool rightAligned = false;
    QString faceName = QStringLiteral("MS Sans Serif");
    QColor textColour{0, 0, 0};
    int height = 8;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ReportFontFailure();

    MessagePrompt& prompts_;
    bool failureReported_ = false;
};

}  // namespace quirtel
