#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

namespace chromint {

class ScreenAccess;

// Where the magnifier takes its picture from and where its cross-hair goes, for pointer p, a
// view of the given size, a zoom level (captured area as a percentage of the view) and the
// primary screen's size. Near an edge the captured area stops at the edge and the cross-hair
// moves off the centre instead.
struct ZoomGeometry {
    QRect source; // screen rectangle shown in the whole view
    int dx = 0;   // cross-hair offset from the view's centre
    int dy = 0;
    QPoint crossHair; // cross-hair centre in view pixels
};
ZoomGeometry ComputeZoomGeometry(QPoint pointer, QSize view, int zoomLevel, QSize screen);

// Zoom level for a percentage (800 gives 12); 0 for a percentage that changes nothing.
int ZoomLevelForPercentage(int percentage);

// A live enlarged view of the screen around the mouse pointer with a cross-hair. It polls the
// pointer on a timer and redraws only when the pointer moved; while disabled it keeps
// redrawing at the last point without reporting.
class TJvZoom : public QWidget {
    Q_OBJECT
public:
    // No pointer position equals it, so the next poll redraws.
    static constexpr QPoint NoPicturePoint{2147483647, 2147483647};

    explicit TJvZoom(QWidget* parent = nullptr);

    bool Active() const { return active_; }
    void SetActive(bool active);
    int ZoomLevel() const { return zoomLevel_; }
    void SetZoomLevel(int zoomLevel);
    int ZoomPercentage() const;
    void SetZoomPercentage(int percentage);
    int Delay() const { return delay_; }
    void SetDelay(int milliseconds);
    bool Crosshair() const { return crossHair_; }
    void SetCrosshair(bool crossHair);
    QColor CrosshairColor() const { return crossHairColor_; }
    void SetCrosshairColor(const QColor& color);
    int CrosshairSize() const { return crossHairSize_; }
    void SetCrosshairSize(int size);
    const QImage& CrossHairPicture() const { return crossHairPicture_; }
    void SetCrossHairPicture(const QImage& picture);
    bool CacheOnDeactivate() const { return cacheOnDeactivate_; }
    void SetCacheOnDeactivate(bool cache);
    QColor BackgroundColor() const { return background_; }
    void SetBackgroundColor(const QColor& color);

    // Where the pixels and the pointer come from: the session's screen unless another source
    // (a still picture of it) is given; the source must outlive the view.
    void SetSource(ScreenAccess* source);
    // Whether the view asks for the pointer on its timer; a view whose owner reports every
    // move itself (through Tick) turns it off and costs nothing while the pointer is still.
    void SetPolling(bool polling);

    QPoint LastPoint() const { return lastPoint_; }
    void ForceUpdate();
    void ZoomInAt(int x, int y);

    // One poll, as the timer does it; public so its cost can be measured.
    void Tick();
    // The primary screen's size in physical pixels, the clamping limit of the view.
    static QSize PrimaryScreenSize();
    // The limit for this view: the primary screen's, or the whole of another source.
    QSize ClampSize() const;

signals:
    void ContentsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Captures and draws the picture for this tick; false when nothing changed.
    bool RenderPicture();

    ScreenAccess& Source() const;

    QTimer timer_;
    ScreenAccess* source_ = nullptr;
    bool polling_ = true;
    bool active_ = true;
    int zoomLevel_ = 100;
    int delay_ = 100;
    QPoint lastPoint_{0, 0};
    bool crossHair_ = false;
    QColor crossHairColor_{Qt::black};
    int crossHairSize_ = 20;
    bool cacheOnDeactivate_ = true;
    QImage cache_; // snapshot kept while inactive
    QImage crossHairPicture_;
    QImage picture_; // the last drawn view
    QColor background_{Qt::white};
};

} // namespace chromint
