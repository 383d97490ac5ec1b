#include "SplashFrm.h"

#include "TransparentForms.h"

#include <QConicalGradient>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

namespace chromint {

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QStringLiteral("Chromint"));
    setCursor(Qt::BusyCursor);
    resize(Width, Height);

    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setPixmap(ProductPicture(QSize(Width, Height)));
    image_->setGeometry(0, 0, Width, Height);
    image_->hide();

    transparentForm_ = new TTransparentForm(this);
    transparentForm_->setObjectName(QStringLiteral("TransparentForm"));
    transparentForm_->SetMode(TTransparentFormMode::tfmLayeredWindow);
    transparentForm_->SetAutoSize(true);
    transparentForm_->SetMaskFromImage(image_);
    transparentForm_->SetActive(true);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

TSplashForm::~TSplashForm() = default;

QPixmap TSplashForm::ProductPicture(QSize size) {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // A card with rounded corners and a soft shadow below it, leaving the top-left free for
    // the hue ring, which stands out of the card.
    const QRectF card(w * 0.12, h * 0.16, w * 0.85, h * 0.74);
    for (int i = 6; i >= 1; --i) {
        QPainterPath shadow;
        shadow.addRoundedRect(card.translated(0, 3).adjusted(-i, -i, i, i), 18 + i, 18 + i);
        painter.fillPath(shadow, QColor(0, 0, 0, 14));
    }
    QLinearGradient background(card.topLeft(), card.bottomLeft());
    background.setColorAt(0, QColor(0x24, 0x33, 0x46));
    background.setColorAt(1, QColor(0x12, 0x1A, 0x24));
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, 18, 18);
    painter.fillPath(cardPath, background);

    const qreal diameter = h * 0.62;
    const QRectF ring(w * 0.02, h * 0.04, diameter, diameter);
    QRadialGradient glow(ring.center(), diameter * 0.62);
    glow.setColorAt(0.7, QColor(255, 255, 255, 70));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(
        ring.adjusted(-diameter * 0.12, -diameter * 0.12, diameter * 0.12, diameter * 0.12));
    QConicalGradient hues(ring.center(), 0);
    for (int i = 0; i <= 6; ++i)
        hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 220, 240));
    QPainterPath ringPath;
    ringPath.addEllipse(ring);
    ringPath.addEllipse(
        ring.adjusted(diameter / 4.0, diameter / 4.0, -diameter / 4.0, -diameter / 4.0));
    painter.fillPath(ringPath, hues);

    QFont font = painter.font();
    font.setPixelSize(int(h / 6));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRectF text(ring.right() + w * 0.04, card.top(), card.right() - ring.right(),
                      card.height());
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Chromint"));
    font.setPixelSize(int(h / 16));
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(0xB8, 0xC4, 0xD2));
    painter.drawText(text.adjusted(2, h / 5.0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Qelvo Lab"));
    painter.end();
    return QPixmap::fromImage(picture);
}

} // namespace chromint
