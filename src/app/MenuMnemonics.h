#pragma once

#include <QObject>

class QMenu;

namespace quirtel {

// Makes a menu's mnemonic keys skip disabled items: Qt counts a disabled item
// as a clash and then activates nothing, so with "&Abortar" disabled the "a"
// of "&Acerca de Quirtel..." could never be reached. With one enabled item for
// the letter it is activated; with several the highlight moves to the next.
class MenuMnemonics final : public QObject {
    Q_OBJECT

public:
    // Watches `menu`, whose child the object becomes.
    static void Install(QMenu& menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MenuMnemonics(QMenu& menu);
    QMenu& menu_;
};

}  // namespace quirtel
