#include "vdrSvgIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

TvdrSvgIconEngine::TvdrSvgIconEngine(const QString &fileName) : m_fileName(fileName) {}

TvdrSvgIconEngine::~TvdrSvgIconEngine() = default;

QSvgRenderer *TvdrSvgIconEngine::Renderer() {
    if (!m_renderer)
        m_renderer = std::make_shared<QSvgRenderer>(m_fileName);
    return m_renderer.get();
}

QSize TvdrSvgIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State) {
    if (!Renderer()->isValid())
        return QSize();
    QSize actual = Renderer()->defaultSize();
    if (!actual.isNull())
        actual.scale(size, Qt::KeepAspectRatio);
    return actual;
}

QPixmap TvdrSvgIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) {
    const quint64 key =
        (quint64(quint32(size.width())) << 32) | (quint64(quint16(size.height())) << 8) | quint64(mode);
    if (const auto found = m_pixmaps.constFind(key); found != m_pixmaps.cend())
        return *found;
    const QSize actual = actualSize(size, mode, state);
    if (actual.isEmpty())
        return QPixmap();
    QImage image(actual, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Renderer()->render(&painter);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    // Disabled and selected icons as the style draws them, as Qt's engine does.
    if (mode != QIcon::Normal && qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        if (!generated.isNull())
            pixmap = generated;
    }
    m_pixmaps.insert(key, pixmap);
    return pixmap;
}

void TvdrSvgIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) {
    QSize size = rect.size();
    if (painter->device())
        size *= painter->device()->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(size, mode, state));
}

QIconEngine *TvdrSvgIconEngine::clone() const {
    auto *copy = new TvdrSvgIconEngine(m_fileName);
    copy->m_renderer = m_renderer;
    return copy;
}

QString TvdrSvgIconEngine::key() const {
    return QStringLiteral("TvdrSvgIconEngine");
}

bool TvdrSvgIconEngine::isNull() {
    return m_fileName.isEmpty();
}
