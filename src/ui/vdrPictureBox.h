#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// Shows a picture centred; one larger than the box is scaled down to fit
// with its proportions kept, a smaller one keeps its own size.
class TvdrPictureBox : public QWidget {
public:
    explicit TvdrPictureBox(QWidget *parent = nullptr);

    void SetImage(const QImage &image);
    void Clear() { SetImage(QImage()); }
    const QImage &Image() const { return m_image; }
    // Where the picture is drawn in the box's current size.
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QPixmap m_scaled; // m_image at PictureRect's size, made when first painted
};

// The built-in 150 x 150 image saying that no picture is available: three
// centred lines of dark text on a transparent ground.
QImage NoPictureImage();
