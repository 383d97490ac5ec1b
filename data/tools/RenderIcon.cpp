// Renders an SVG picture as square PNG files, one per size, for the hicolor icon theme.
// Runs at build time only; it is not installed.
//
//   chromint_render_icon <picture.svg> <output folder> <size>...
//
// Writes <output folder>/<size>x<size>.png for each size and exits 1 on any failure.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <picture.svg> <output folder> <size>...\n", argv[0]);
        return 2;
    }
    // No window is shown: the offscreen platform keeps this working without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read the picture %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 4096) {
            std::fprintf(stderr, "not a size: %s\n", argv[i]);
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString file = QStringLiteral("%1/%2x%2.png").arg(folder).arg(size);
        // Non-premultiplied ARGB is what PNG stores; no text chunks, so the files are
        // the same on every build.
        if (!image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG", 9)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
