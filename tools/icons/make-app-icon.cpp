// SPDX-License-Identifier: MIT
// make-app-icon: renders the program's SVG icon into the PNG sizes of the hicolor icon theme.
//   make-app-icon ICON.svg OUT_DIR NAME SIZE...   writes OUT_DIR/SIZExSIZE/apps/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: make-app-icon ICON.svg OUT_DIR NAME SIZE...\n");
        return 2;
    }
    // No display is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "make-app-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "make-app-icon: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        QDir().mkpath(folder);
        const QString file = folder + "/" + QString::fromLocal8Bit(argv[3]) + ".png";
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "make-app-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
