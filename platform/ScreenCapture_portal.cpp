// Screenshots and colour picks through the desktop portal (org.freedesktop.portal.Screenshot),
// the way a Wayland session lets a program see the screen.

#include "PlatformBackends.h"
#include "PortalRequest.h"

#include <QDBusArgument>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QUrl>

#include <cmath>

namespace chromint::backend {

namespace {

const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
// A non-interactive screenshot answers in well under a second; a pick waits for the user.
constexpr int ScreenshotTimeoutMs = 15000;
constexpr int PickTimeoutMs = 300000;

ScreenCapture::Status StatusOf(PortalResponse::Status status) {
    switch (status) {
    case PortalResponse::Status::Success:
        return ScreenCapture::Status::Done;
    case PortalResponse::Status::NoPortal:
        return ScreenCapture::Status::NoPortal;
    case PortalResponse::Status::NoInterface:
        return ScreenCapture::Status::NoInterface;
    case PortalResponse::Status::Cancelled:
        return ScreenCapture::Status::Cancelled;
    case PortalResponse::Status::Failed:
        break;
    }
    return ScreenCapture::Status::Failed;
}

std::uint8_t Channel(double value) {
    if (!(value > 0))
        return 0;
    if (value >= 1)
        return 255;
    return std::uint8_t(std::lround(value * 255));
}

class ScreenCapturePortal final : public ScreenCapture {
public:
    bool Available() override { return PortalVersion(ScreenshotInterface) >= 1; }
    bool CanPickColor() override { return PortalVersion(ScreenshotInterface) >= 2; }

    Picture Capture() override {
        Picture picture;
        picture.layout = Layout::ScaledBounds;
        if (const int version = PortalVersion(ScreenshotInterface); version < 1) {
            picture.status = version < 0 ? Status::NoPortal : Status::NoInterface;
            return picture;
        }
        QVariantMap options;
        options.insert(QStringLiteral("interactive"), false);
        options.insert(QStringLiteral("modal"), false);
        const PortalResponse response =
            CallPortal(ScreenshotInterface, QStringLiteral("Screenshot"), {QString()}, options,
                       ScreenshotTimeoutMs);
        picture.status = StatusOf(response.status);
        picture.message = response.error;
        if (picture.status != Status::Done)
            return picture;
        const QUrl uri(response.results.value(QStringLiteral("uri")).toString());
        const QString path = uri.toLocalFile();
        QImageReader reader(path);
        reader.setAutoTransform(false);
        picture.image = reader.read().convertToFormat(QImage::Format_RGB32);
        RemoveIfTemporary(path);
        if (picture.image.isNull()) {
            picture.status = Status::Failed;
            picture.message = QStringLiteral("the screenshot could not be read");
        }
        return picture;
    }

    PickedColor PickColor() override {
        PickedColor picked;
        if (const int version = PortalVersion(ScreenshotInterface); version < 2) {
            picked.status = version < 0 ? Status::NoPortal : Status::NoInterface;
            return picked;
        }
        const PortalResponse response = CallPortal(ScreenshotInterface, QStringLiteral("PickColor"),
                                                   {QString()}, {}, PickTimeoutMs);
        picked.status = StatusOf(response.status);
        picked.message = response.error;
        if (picked.status != Status::Done)
            return picked;
        // "color" is (ddd): red, green and blue from 0 to 1.
        const QDBusArgument argument =
            response.results.value(QStringLiteral("color")).value<QDBusArgument>();
        double rgb[3] = {-1, -1, -1};
        argument.beginStructure();
        argument >> rgb[0] >> rgb[1] >> rgb[2];
        argument.endStructure();
        if (rgb[0] < 0 || rgb[1] < 0 || rgb[2] < 0) {
            picked.status = Status::Failed;
            picked.message = QStringLiteral("the desktop portal gave no colour");
            return picked;
        }
        picked.rgb = (std::uint32_t(Channel(rgb[0])) << 16) |
                     (std::uint32_t(Channel(rgb[1])) << 8) | Channel(rgb[2]);
        return picked;
    }

private:
    // The portal leaves its picture where its backend chose: a temporary folder is ours to
    // clean, a file in the user's own folders is theirs.
    static void RemoveIfTemporary(const QString& path) {
        if (path.isEmpty())
            return;
        const QString folder = QFileInfo(path).absolutePath();
        QStringList temporary = {QDir::tempPath(), QStringLiteral("/tmp"),
                                 QStringLiteral("/var/tmp")};
        temporary.removeDuplicates();
        for (const QString& place : temporary) {
            if (folder == QDir::cleanPath(place)) {
                QFile::remove(path);
                return;
            }
        }
    }
};

} // namespace

std::unique_ptr<ScreenCapture> CreateScreenCapturePortal() {
    return std::make_unique<ScreenCapturePortal>();
}

} // namespace chromint::backend
