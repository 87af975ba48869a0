#include "vdrPictureBox.h"

#include <QFont>
#include <QPainter>

TvdrPictureBox::TvdrPictureBox(QWidget *parent) : QWidget(parent) {}

void TvdrPictureBox::SetImage(const QImage &image) {
    m_image = image;
    m_scaled = QPixmap();
    update();
}

QRect TvdrPictureBox::PictureRect() const {
    if (m_image.isNull())
        return QRect();
    QSize size = m_image.size();
    if (size.width() > width() || size.height() > height())
        size.scale(this->size(), Qt::KeepAspectRatio);
    size = size.expandedTo(QSize(1, 1));
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void TvdrPictureBox::paintEvent(QPaintEvent *) {
    if (m_image.isNull())
        return;
    const QRect target = PictureRect();
    // Scaled once per size, not on every paint: a large photo would make
    // each repaint slow.
    if (m_scaled.size() != target.size())
        m_scaled = QPixmap::fromImage(
            target.size() == m_image.size()
                ? m_image
                : m_image.scaled(target.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QPainter painter(this);
    painter.drawPixmap(target.topLeft(), m_scaled);
}

QImage NoPictureImage() {
    // Drawn on a transparent ground: the white of the designed bitmap lets
    // the view's background show.
    QImage image(150, 150, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    const int line = 30;
    const char *const lines[] = {"Picture", "is not", "available"};
    for (int i = 0; i < 3; ++i)
        painter.drawText(QRect(0, 75 - 3 * line / 2 + i * line, 150, line), Qt::AlignCenter,
                         QString::fromLatin1(lines[i]));
    return image;
}
