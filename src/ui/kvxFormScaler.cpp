#include "kvxFormScaler.h"

#include "vdrError.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <cmath>

TkvxFormScaler::TkvxFormScaler(QObject *owner) : QObject(owner) {
    auto *form = qobject_cast<QWidget *>(owner);
    if (!form || !form->isWindow())
        throw EvdrError("TkvxFormScaler owner must be TForm descendent");
    form->installEventFilter(this);
}

int TkvxFormScaler::ScreenPixelsPerInch(const QWidget *form) {
    const QScreen *screen = form->screen();
    if (!screen)
        return 96;
    return int(std::lround(screen->logicalDotsPerInch() * screen->devicePixelRatio()));
}

bool TkvxFormScaler::eventFilter(QObject *watched, QEvent *event) {
    if (!m_done && event->type() == QEvent::Show && watched == parent()) {
        m_done = true;
        const int screenPpi = ScreenPixelsPerInch(static_cast<QWidget *>(watched));
        if (screenPpi != m_designPpi && m_onScaling)
            m_onScaling(this, screenPpi, m_designPpi);
    }
    return QObject::eventFilter(watched, event);
}
