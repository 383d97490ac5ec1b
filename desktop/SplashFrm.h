#pragma once

#include <QPixmap>
#include <QWidget>

namespace chromint {

// The window shown while the program starts: the product picture, borderless, centred on the
// screen, with the busy cursor over it.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 359;
    static constexpr int Height = 210;

    explicit TSplashForm(QWidget* parent = nullptr);

    // The product picture, also used by the About window.
    static QPixmap ProductPicture(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

} // namespace chromint
