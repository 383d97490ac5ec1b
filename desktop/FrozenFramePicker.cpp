#include "FrozenFramePicker.h"

#include "JvZoom.h"
#include "ScreenColorDlg.h"

#include <QCursor>
#include <QEnterEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <memory>

namespace chromint {

std::vector<QRect> PictureRectsForScreens(const std::vector<ScreenGeometry>& screens, QSize picture,
                                          ScreenCapture::Layout layout) {
    std::vector<QRect> rects;
    rects.reserve(screens.size());
    if (layout == ScreenCapture::Layout::Native) {
        // Qt keeps a screen's native position and divides only its size by the scale.
        for (const ScreenGeometry& screen : screens) {
            const double ratio = screen.devicePixelRatio;
            rects.emplace_back(screen.logical.topLeft(),
                               QSize(int(std::lround(screen.logical.width() * ratio)),
                                     int(std::lround(screen.logical.height() * ratio))));
        }
        return rects;
    }
    QRect bounds;
    for (const ScreenGeometry& screen : screens)
        bounds |= screen.logical;
    if (bounds.isEmpty())
        return std::vector<QRect>(screens.size());
    const double sx = double(picture.width()) / bounds.width();
    const double sy = double(picture.height()) / bounds.height();
    for (const ScreenGeometry& screen : screens) {
        const QRect& l = screen.logical;
        const int left = int(std::lround((l.x() - bounds.x()) * sx));
        const int top = int(std::lround((l.y() - bounds.y()) * sy));
        const int right = int(std::lround((l.x() + l.width() - bounds.x()) * sx));
        const int bottom = int(std::lround((l.y() + l.height() - bounds.y()) * sy));
        rects.emplace_back(left, top, right - left, bottom - top);
    }
    return rects;
}

QPoint PicturePixelAt(const QRect& logical, const QRect& picture, QPointF point) {
    if (logical.isEmpty() || picture.isEmpty())
        return picture.topLeft();
    const double fx = (point.x() - logical.x()) * picture.width() / logical.width();
    const double fy = (point.y() - logical.y()) * picture.height() / logical.height();
    const int x = picture.x() + int(std::floor(fx));
    const int y = picture.y() + int(std::floor(fy));
    return {std::clamp(x, picture.left(), picture.right()),
            std::clamp(y, picture.top(), picture.bottom())};
}

std::optional<QPoint> ArrowKeyMove(QPoint pixel, int key, bool shift, const QRect& bounds) {
    const int step = shift ? 10 : 1;
    switch (key) {
    case Qt::Key_Left:
        pixel.rx() -= step;
        break;
    case Qt::Key_Right:
        pixel.rx() += step;
        break;
    case Qt::Key_Up:
        pixel.ry() -= step;
        break;
    case Qt::Key_Down:
        pixel.ry() += step;
        break;
    default:
        return std::nullopt;
    }
    if (bounds.isEmpty())
        return pixel;
    return QPoint(std::clamp(pixel.x(), bounds.left(), bounds.right()),
                  std::clamp(pixel.y(), bounds.top(), bounds.bottom()));
}

FrozenDesktop::FrozenDesktop(QImage picture)
    : picture_(std::move(picture).convertToFormat(QImage::Format_RGB32)) {}

std::optional<std::uint32_t> FrozenDesktop::PixelAt(QPoint point) {
    if (!picture_.rect().contains(point))
        return std::nullopt;
    return picture_.pixel(point) & 0xffffffu;
}

QImage FrozenDesktop::Grab(const QRect& rect) {
    if (rect.isEmpty() || picture_.isNull())
        return {};
    // QImage::copy fills what lies outside the picture with zero: black, made opaque here.
    QImage part = picture_.copy(rect);
    if (!picture_.rect().contains(rect)) {
        QPainter painter(&part);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(part.rect(), Qt::black);
    }
    return part;
}

bool FrozenDesktop::SetPointerPos(QPoint point) {
    if (picture_.isNull())
        return false;
    pointer_ = QPoint(std::clamp(point.x(), 0, picture_.width() - 1),
                      std::clamp(point.y(), 0, picture_.height() - 1));
    return true;
}

namespace {

constexpr int kCardMargin = 25;
// The card moves to the opposite corner when the pointer comes this close to it.
constexpr int kCardKeepAway = 48;

class FrozenPicker;

// One screen's cover: the still picture of that screen, and a mark on the picked pixel.
class FrozenScreenWindow final : public QWidget {
public:
    FrozenScreenWindow(FrozenPicker& picker, QScreen* screen, QRect logical, QRect pictureRect,
                       const QImage& picture);

    const QRect& Logical() const { return logical_; }
    const QRect& PictureRect() const { return pictureRect_; }
    void MarkChanged(std::optional<QPoint> oldPixel, std::optional<QPoint> newPixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect MarkRect(QPoint pixel) const;

    FrozenPicker& picker_;
    QRect logical_;
    QRect pictureRect_;
    QImage shown_; // the screen's part of the picture at this window's device pixels
    std::optional<QPoint> mark_;
};

// The panel and the hint, kept beside the pointer on the screen it is on.
class PickerCard final : public QFrame {
public:
    PickerCard(double zoom, ScreenAccess& source) {
        setObjectName(QStringLiteral("FrozenPickerCard"));
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setAutoFillBackground(true);
        // Clicks on the card are the card's, never a pick of what lies under it.
        setAttribute(Qt::WA_NoMousePropagation);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(2, 2, 2, 6);
        layout->setSpacing(2);
        panel = new TScreenColorPanel(zoom, source, this);
        panel->Zoom()->SetPolling(false);
        // The keys belong to the picker: arrows move the pixel, not the zoom factor.
        for (QWidget* child : panel->findChildren<QWidget*>())
            child->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(panel);
        hint = new QLabel(QStringLiteral("Click, Enter or Ctrl+Shift+X takes the colour\n"
                                         "Arrow keys move (Shift: 10 pixels) · Esc cancels"),
                          this);
        hint->setObjectName(QStringLiteral("lblHint"));
        hint->setAlignment(Qt::AlignCenter);
        layout->addWidget(hint);
        adjustSize();
    }

    TScreenColorPanel* panel = nullptr;
    QLabel* hint = nullptr;
};

class FrozenPicker {
public:
    FrozenPicker(const ScreenCapture::Picture& picture, double zoom)
        : desktop_(picture.image), layout_(picture.layout) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        std::vector<ScreenGeometry> geometry;
        for (const QScreen* screen : screens)
            geometry.push_back({screen->geometry(), screen->devicePixelRatio()});
        const std::vector<QRect> rects =
            PictureRectsForScreens(geometry, desktop_.Picture().size(), layout_);
        for (int i = 0; i < screens.size(); ++i) {
            const QRect part = rects[std::size_t(i)].intersected(desktop_.Picture().rect());
            if (part.isEmpty())
                continue;
            windows_.push_back(std::make_unique<FrozenScreenWindow>(
                *this, screens[i], geometry[std::size_t(i)].logical, part, desktop_.Picture()));
        }
        card_ = std::make_unique<PickerCard>(zoom, desktop_);
    }

    ~FrozenPicker() {
        card_.reset();
        windows_.clear();
    }

    std::optional<TColor> Run(std::optional<QPoint> start) {
        if (windows_.empty())
            return std::nullopt;
        const QPoint point = start.value_or(QCursor::pos());
        FrozenScreenWindow* first = WindowAt(point);
        if (first == nullptr) {
            first = windows_.front().get();
            MoveToPixel(first, first->PictureRect().center());
        } else {
            MoveToPixel(first, PicturePixelAt(first->Logical(), first->PictureRect(), point));
        }
        for (const auto& window : windows_)
            window->showFullScreen();
        first->raise();
        first->activateWindow();
        first->setFocus();
        loop_.exec();
        return result_;
    }

    void PointerMoved(FrozenScreenWindow* window, QPointF global) {
        MoveToPixel(window, PicturePixelAt(window->Logical(), window->PictureRect(), global));
    }

    void Key(FrozenScreenWindow* window, QKeyEvent* event) {
        const bool confirm =
            event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
            event->key() == Qt::Key_Space ||
            (event->key() == Qt::Key_X && event->modifiers().testFlag(Qt::ControlModifier) &&
             event->modifiers().testFlag(Qt::ShiftModifier));
        if (confirm) {
            Take();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            loop_.quit();
            return;
        }
        const auto moved =
            ArrowKeyMove(*desktop_.PointerPos(), event->key(),
                         event->modifiers().testFlag(Qt::ShiftModifier), desktop_.DesktopRect());
        if (!moved)
            return;
        // The pixel may have crossed into another screen's picture.
        FrozenScreenWindow* target = window;
        for (const auto& candidate : windows_)
            if (candidate->PictureRect().contains(*moved))
                target = candidate.get();
        MoveToPixel(target, *moved);
    }

    void Take() {
        const TColor color = card_->panel->Color();
        if (color != clNone)
            result_ = color;
        loop_.quit();
    }

private:
    FrozenScreenWindow* WindowAt(QPoint global) const {
        for (const auto& window : windows_)
            if (window->Logical().contains(global))
                return window.get();
        return nullptr;
    }

    void MoveToPixel(FrozenScreenWindow* window, QPoint pixel) {
        const std::optional<QPoint> old =
            current_ != nullptr ? desktop_.PointerPos() : std::optional<QPoint>();
        desktop_.SetPointerPos(pixel);
        const bool sameWindow = current_ == window;
        if (current_ != nullptr && !sameWindow)
            current_->MarkChanged(old, std::nullopt);
        current_ = window;
        window->MarkChanged(sameWindow ? old : std::nullopt, desktop_.PointerPos());
        PlaceCard(window);
        card_->panel->Zoom()->Tick();
    }

    // Lower right of the screen, or upper left while the pointer is near the lower right.
    void PlaceCard(FrozenScreenWindow* window) {
        if (card_->parentWidget() != window) {
            card_->setParent(window);
            card_->show();
        }
        const QRect area(QPoint(0, 0), window->Logical().size());
        const QRect lowerRight(area.right() - card_->width() - kCardMargin,
                               area.bottom() - card_->height() - kCardMargin, card_->width(),
                               card_->height());
        const QPoint pixel = *desktop_.PointerPos();
        const QRect& picture = window->PictureRect();
        const QPointF local(
            (pixel.x() - picture.x() + 0.5) * window->Logical().width() / picture.width(),
            (pixel.y() - picture.y() + 0.5) * window->Logical().height() / picture.height());
        const bool near =
            lowerRight.adjusted(-kCardKeepAway, -kCardKeepAway, kCardKeepAway, kCardKeepAway)
                .contains(local.toPoint());
        card_->move(near ? QPoint(kCardMargin, kCardMargin) : lowerRight.topLeft());
    }

    FrozenDesktop desktop_;
    ScreenCapture::Layout layout_;
    std::vector<std::unique_ptr<FrozenScreenWindow>> windows_;
    std::unique_ptr<PickerCard> card_;
    FrozenScreenWindow* current_ = nullptr;
    QEventLoop loop_;
    std::optional<TColor> result_;
};

FrozenScreenWindow::FrozenScreenWindow(FrozenPicker& picker, QScreen* screen, QRect logical,
                                       QRect pictureRect, const QImage& picture)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), picker_(picker),
      logical_(logical), pictureRect_(pictureRect) {
    setObjectName(QStringLiteral("FrozenScreenWindow"));
    setWindowTitle(QStringLiteral("Screen color"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setScreen(screen);
    setGeometry(logical);
    // Made once at the window's own device pixels, so painting is a plain copy.
    const double ratio = screen->devicePixelRatio();
    const QSize device(int(std::lround(logical.width() * ratio)),
                       int(std::lround(logical.height() * ratio)));
    shown_ = picture.copy(pictureRect);
    if (shown_.size() != device)
        shown_ = shown_.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    shown_.setDevicePixelRatio(ratio);
}

QRect FrozenScreenWindow::MarkRect(QPoint pixel) const {
    const double sx = double(logical_.width()) / pictureRect_.width();
    const double sy = double(logical_.height()) / pictureRect_.height();
    const int left = int(std::floor((pixel.x() - pictureRect_.x()) * sx));
    const int top = int(std::floor((pixel.y() - pictureRect_.y()) * sy));
    const int right = int(std::ceil((pixel.x() + 1 - pictureRect_.x()) * sx));
    const int bottom = int(std::ceil((pixel.y() + 1 - pictureRect_.y()) * sy));
    // Two rings around the pixel, dark and light, visible on any colour.
    return QRect(left, top, right - left, bottom - top).adjusted(-3, -3, 3, 3);
}

void FrozenScreenWindow::MarkChanged(std::optional<QPoint> oldPixel,
                                     std::optional<QPoint> newPixel) {
    if (oldPixel)
        update(MarkRect(*oldPixel));
    mark_ = newPixel && pictureRect_.contains(*newPixel) ? newPixel : std::nullopt;
    if (mark_)
        update(MarkRect(*mark_));
}

void FrozenScreenWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(QPoint(0, 0), shown_);
    if (!mark_)
        return;
    const QRect ring = MarkRect(*mark_);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(ring.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(ring.adjusted(1, 1, -2, -2));
}

void FrozenScreenWindow::mouseMoveEvent(QMouseEvent* event) {
    picker_.PointerMoved(this, event->position() + QPointF(logical_.topLeft()));
}

void FrozenScreenWindow::enterEvent(QEnterEvent* event) {
    picker_.PointerMoved(this, event->position() + QPointF(logical_.topLeft()));
}

void FrozenScreenWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    picker_.PointerMoved(this, event->position() + QPointF(logical_.topLeft()));
    picker_.Take();
}

void FrozenScreenWindow::keyPressEvent(QKeyEvent* event) {
    picker_.Key(this, event);
}

} // namespace

std::optional<TColor> RunFrozenFramePicker(const ScreenCapture::Picture& picture, double zoom,
                                           std::optional<QPoint> startPoint) {
    if (picture.image.isNull())
        return std::nullopt;
    FrozenPicker picker(picture, zoom);
    return picker.Run(startPoint);
}

ScreenPick PickScreenColor(double zoom) {
    ScreenPick pick;
    ScreenCapture& capture = DesktopCapture();
    if (capture.CanPickColor()) {
        const ScreenCapture::PickedColor picked = capture.PickColor();
        // A portal that announces picks but whose desktop cannot make them falls back to the
        // still frame; every other outcome is the answer.
        if (picked.status != ScreenCapture::Status::NoInterface) {
            pick.status = picked.status;
            pick.message = ScreenCaptureMessage(picked.status, picked.message);
            if (picked.status == ScreenCapture::Status::Done)
                pick.color = ColorFromHex(picked.rgb);
            return pick;
        }
    }
    pick = PickFromStillFrame(zoom);
    if (pick.status == ScreenCapture::Status::Cancelled)
        pick.message = ScreenCaptureMessage(pick.status, {});
    return pick;
}

} // namespace chromint
