#pragma once

// What the picture-loading tests share: the picture most of them write, files of their own in
// a temporary folder, and loads that record a failure instead of stopping the table they run
// through.

#include "ImageLoaders.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace chromint {

inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kBlue = qRgb(0, 0, 255);

// The picture most rows use: 4 × 2, the top row red, the bottom row blue.
inline QImage TwoRows(QImage::Format format = QImage::Format_RGB32) {
    QImage image(4, 2, format);
    for (int x = 0; x < 4; ++x) {
        image.setPixel(x, 0, kRed);
        image.setPixel(x, 1, kBlue);
    }
    return image;
}

class PictureFiles : public ::testing::Test {
public:
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QString Written(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    static QByteArray Read(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QString Saved(const QImage& image, const QString& name, const char* format) const {
        EXPECT_TRUE(image.save(Path(name), format)) << name.toStdString();
        return Path(name);
    }

    // The first two thirds of another file.
    QString Truncated(const QString& name, const QString& from) const {
        const QByteArray bytes = Read(from);
        return Written(name, bytes.left(bytes.size() * 2 / 3));
    }

    QTemporaryDir dir_;
};

// The picture, or nothing with the failure recorded.
inline std::optional<LoadedPicture> LoadOrFail(const QString& path) {
    try {
        return LoadPicture(path);
    } catch (const PictureLoadError& e) {
        ADD_FAILURE() << e.what();
        return std::nullopt;
    }
}

// Why the load was refused, or nothing with a failure recorded when it was not.
inline std::optional<QString> RefusalOf(const QString& path) {
    try {
        LoadPicture(path);
    } catch (const PictureLoadError& e) {
        return e.Reason();
    }
    ADD_FAILURE() << "loaded without complaint";
    return std::nullopt;
}

} // namespace chromint
