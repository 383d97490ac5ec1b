// Screen pixels and the pointer on X11, through Qt's own Xlib connection.

#include "PlatformBackends.h"

#include <QGuiApplication>

#include <bit>
#include <cstring>

// Xlib last: its macros collide with Qt.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

namespace chromint::backend {

namespace {

// Channel shift and width from a visual's mask, for any TrueColor layout.
struct Channel {
    int shift = 0;
    int bits = 8;

    explicit Channel(unsigned long mask) {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        bits = std::popcount(mask);
    }

    std::uint32_t Read(unsigned long pixel) const {
        const unsigned long maxValue = (1UL << bits) - 1;
        const unsigned long value = (pixel >> shift) & maxValue;
        return std::uint32_t(maxValue == 255 ? value : (value * 255 + maxValue / 2) / maxValue);
    }
};

class ScreenAccessX11 final : public ScreenAccess {
public:
    ScreenAccessX11() {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            display_ = x11->display();
        if (display_ != nullptr)
            root_ = DefaultRootWindow(display_);
    }

    ~ScreenAccessX11() override { Release(); }

    bool Available() const override { return display_ != nullptr; }

    QRect DesktopRect() override {
        if (display_ == nullptr)
            return {};
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, root_, &attributes))
            return {};
        return QRect(0, 0, attributes.width, attributes.height);
    }

    std::optional<std::uint32_t> PixelAt(QPoint point) override {
        if (display_ == nullptr || !DesktopRect().contains(point))
            return std::nullopt;
        XImage* image = XGetImage(display_, root_, point.x(), point.y(), 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return std::nullopt;
        const std::uint32_t rgb = ToRgb(image, XGetPixel(image, 0, 0));
        XDestroyImage(image);
        return rgb;
    }

    QImage Grab(const QRect& rect) override {
        if (display_ == nullptr || rect.isEmpty())
            return {};
        QImage result(rect.size(), QImage::Format_RGB32);
        result.fill(Qt::black);
        const QRect part = rect.intersected(DesktopRect());
        if (part.isEmpty())
            return result;
        XImage* image = XGetImage(display_, root_, part.x(), part.y(), unsigned(part.width()),
                                  unsigned(part.height()), AllPlanes, ZPixmap);
        if (image == nullptr)
            return {};
        const int dx = part.x() - rect.x();
        const int dy = part.y() - rect.y();
        const bool plain = image->bits_per_pixel == 32 && image->red_mask == 0xff0000 &&
                           image->green_mask == 0xff00 && image->blue_mask == 0xff &&
                           image->byte_order == LSBFirst;
        for (int y = 0; y < part.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(result.scanLine(dy + y)) + dx;
            if (plain) {
                // Same layout as QImage's RGB32: copy the row, then make it opaque.
                std::memcpy(line, image->data + std::ptrdiff_t(y) * image->bytes_per_line,
                            std::size_t(part.width()) * 4);
                for (int x = 0; x < part.width(); ++x)
                    line[x] |= 0xff000000u;
            } else {
                for (int x = 0; x < part.width(); ++x)
                    line[x] = 0xff000000u | ToRgb(image, XGetPixel(image, x, y));
            }
        }
        XDestroyImage(image);
        return result;
    }

    std::optional<QPoint> PointerPos() override {
        if (display_ == nullptr)
            return std::nullopt;
        Window rootReturn = 0;
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        int winX = 0;
        int winY = 0;
        unsigned int mask = 0;
        if (!XQueryPointer(display_, root_, &rootReturn, &child, &rootX, &rootY, &winX, &winY,
                           &mask))
            return std::nullopt;
        return QPoint(rootX, rootY);
    }

    bool SetPointerPos(QPoint point) override {
        if (display_ == nullptr)
            return false;
        XWarpPointer(display_, 0, root_, 0, 0, 0, 0, point.x(), point.y());
        XFlush(display_);
        return true;
    }

    bool Confine(const QRect& rect) override {
        if (display_ == nullptr || rect.isEmpty())
            return false;
        Release();
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XFixesQueryExtension(display_, &eventBase, &errorBase) ||
            !XFixesQueryVersion(display_, &major, &minor) || major < 5)
            return false;
        // Four pointer barriers around the rectangle: the server stops the pointer at them,
        // without a grab, so the drag's own button grab stays as it is.
        const int left = rect.left();
        const int top = rect.top();
        const int right = rect.right() + 1;
        const int bottom = rect.bottom() + 1;
        barriers_[0] = XFixesCreatePointerBarrier(display_, root_, left, top, left, bottom,
                                                  BarrierPositiveX, 0, nullptr);
        barriers_[1] = XFixesCreatePointerBarrier(display_, root_, right, top, right, bottom,
                                                  BarrierNegativeX, 0, nullptr);
        barriers_[2] = XFixesCreatePointerBarrier(display_, root_, left, top, right, top,
                                                  BarrierPositiveY, 0, nullptr);
        barriers_[3] = XFixesCreatePointerBarrier(display_, root_, left, bottom, right, bottom,
                                                  BarrierNegativeY, 0, nullptr);
        confined_ = true;
        XFlush(display_);
        return true;
    }

    void Release() override {
        if (display_ == nullptr || !confined_)
            return;
        for (PointerBarrier& barrier : barriers_) {
            if (barrier != 0)
                XFixesDestroyPointerBarrier(display_, barrier);
            barrier = 0;
        }
        confined_ = false;
        XFlush(display_);
    }

private:
    std::uint32_t ToRgb(const XImage* image, unsigned long pixel) const {
        const Channel red(image->red_mask);
        const Channel green(image->green_mask);
        const Channel blue(image->blue_mask);
        return (red.Read(pixel) << 16) | (green.Read(pixel) << 8) | blue.Read(pixel);
    }

    Display* display_ = nullptr;
    Window root_ = 0;
    PointerBarrier barriers_[4] = {0, 0, 0, 0};
    bool confined_ = false;
};

} // namespace

std::unique_ptr<ScreenAccess> CreateScreenAccessX11() {
    return std::make_unique<ScreenAccessX11>();
}

} // namespace chromint::backend
