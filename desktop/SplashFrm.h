#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace chromint {

class TTransparentForm;

// The window shown while the program starts: the product picture alone, in its own shape with
// its soft edges (per-pixel alpha), no frame, centred on the screen, with the busy cursor.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 359;
    static constexpr int Height = 210;

    explicit TSplashForm(QWidget* parent = nullptr);
    ~TSplashForm() override;

    // The product picture with an alpha channel; also used by the About window.
    static QPixmap ProductPicture(QSize size);

    TTransparentForm* TransparentForm() const { return transparentForm_; }

private:
    QLabel* image_ = nullptr;
    TTransparentForm* transparentForm_ = nullptr;
};

} // namespace chromint
