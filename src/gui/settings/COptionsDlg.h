#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QLabel;

namespace quirtel {

struct TestSettings;

class Prompts;

// The options dialog: test length in whole minutes and the three switches.
// OK checks the minutes (messages through `prompts`) and closes only on a
// whole number from 1 to 30; the values are then read with the accessors.
class COptionsDlg final : public QDialog {
    Q_OBJECT

public:
    // `minutes` 0 or above 30 opens as 10.
    COptionsDlg(std::uint32_t minutes, bool capitalsDouble, bool keySound, bool spellCheck,
                Prompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog for `settings` through `prompts`; on OK writes its
    // values into `settings` and returns true, on cancel changes nothing.
    static bool Edit(TestSettings& settings, Prompts& prompts, QWidget* parent);

    std::int32_t Minutes() const { return minutes; }
    bool CapitalsDouble() const { return capitalsDouble; }
    bool KeySound() const { return keySound; }
    bool SpellCheck() const { return spellCheck; }

    void accept() override;

private:
    QLabel* AddLabel(const QString& text, int y, const char* name);
    QCheckBox* AddCheckBox(int id, int x, int y, bool checked, QLabel& label);
    void Place(QWidget& widget, int x, int y, int width, int height);

    Prompts& prompts_;
    std::int32_t minutes;
    bool capitalsDouble;
    bool keySound;
    bool spellCheck;
    QLineEdit* minutesEdit_ = nullptr;
    QCheckBox* capitalsBox_ = nullptr;
    QCheckBox* keySoundBox_ = nullptr;
    QCheckBox* spellCheckBox_ = nullptr;
};

}  // namespace quirtel
