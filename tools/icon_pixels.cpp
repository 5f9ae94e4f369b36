// Build step: unpacks a PNG into the pixel layout a raster pixmap holds (32-bit premultiplied
// ARGB in the machine's byte order, rows without padding), so that the program sets its window
// icon by copying pixels instead of decoding PNG files at start-up.
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: keyrook_icon_pixels IN.png OUT\n");
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "keyrook_icon_pixels: cannot read %s\n", argv[1]);
        return 1;
    }
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "keyrook_icon_pixels: cannot write %s\n", argv[2]);
        return 1;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const char*>(image.constScanLine(y));
        if (out.write(row, qint64(image.width()) * 4) != qint64(image.width()) * 4) return 1;
    }
    return out.flush() ? 0 : 1;
}
