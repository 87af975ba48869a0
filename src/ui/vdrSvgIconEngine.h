#pragma once

#include <QHash>
#include <QIconEngine>
#include <QPixmap>
#include <QString>

#include <memory>

class QSvgRenderer;

// An SVG icon read when it is first drawn, once. Qt's own engine reads the
// file once to check it when the icon is made and again for each pixmap, so
// a window's icons cost two parses each before its first paint, most of
// them for menu entries not yet shown. A file that is not a valid SVG draws
// nothing, as with Qt's engine.
class TvdrSvgIconEngine : public QIconEngine {
public:
    explicit TvdrSvgIconEngine(const QString &fileName);
    ~TvdrSvgIconEngine() override;

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    QSvgRenderer *Renderer();

    QString m_fileName;
    std::shared_ptr<QSvgRenderer> m_renderer; // shared with clones, made on first use
    QHash<quint64, QPixmap> m_pixmaps;        // by size and mode
};
