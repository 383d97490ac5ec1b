#include "SplashFrm.h"

#include <QConicalGradient>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace chromint {

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QStringLiteral("Chromint"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(Width, Height);
    setCursor(Qt::BusyCursor);
    picture_ = ProductPicture(size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

QPixmap TSplashForm::ProductPicture(QSize size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, size.height());
    background.setColorAt(0, QColor(0x24, 0x33, 0x46));
    background.setColorAt(1, QColor(0x12, 0x1A, 0x24));
    painter.fillRect(picture.rect(), background);

    // A hue ring at the left, the product name at the right.
    const int diameter = size.height() * 3 / 5;
    const QRectF ring(size.height() / 5.0, (size.height() - diameter) / 2.0, diameter, diameter);
    QConicalGradient hues(ring.center(), 0);
    for (int i = 0; i <= 6; ++i)
        hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 220, 240));
    QPainterPath path;
    path.addEllipse(ring);
    path.addEllipse(
        ring.adjusted(diameter / 4.0, diameter / 4.0, -diameter / 4.0, -diameter / 4.0));
    painter.fillPath(path, hues);

    QFont font = painter.font();
    font.setPixelSize(size.height() / 6);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRectF text(ring.right() + size.height() / 8.0, 0, size.width(), size.height());
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Chromint"));
    font.setPixelSize(size.height() / 16);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(0xB8, 0xC4, 0xD2));
    painter.drawText(text.adjusted(2, size.height() / 5.0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Qelvo Lab"));
    return picture;
}

void TSplashForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

} // namespace chromint
