#pragma once

#include <QString>
#include <QStringList>

#include "gui/about/UrlOpener.h"

namespace quirtel::testing {

// Records the addresses it is asked to open.
class FakeUrlOpener final : public UrlOpener {
public:
    void Open(const QString& address) override { opened.append(address); }

    QStringList opened;
};

}  // namespace quirtel::testing
