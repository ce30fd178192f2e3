// Build-time tool: draws one SVG picture into PNG files of the given pixel
// sizes, optionally painted over in one colour (for monochrome theme icons).
//
//   render_picture SOURCE.svg TINT WIDTH HEIGHT OUTPUT.png [WIDTH HEIGHT OUTPUT.png]...
//
// TINT is a colour name or #rrggbb, or "-" to keep the drawing's colours.
// Exits non-zero, writing nothing further, when the source cannot be read or
// a file cannot be written.

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

QImage draw(QSvgRenderer &renderer, int width, int height, const QColor &tint)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, width, height));
    if (tint.isValid()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), tint);
    }
    painter.end();
    return image;
}

bool save(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    // Text in the drawings needs fonts, which need a GUI application; no
    // display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6 || (args.size() - 3) % 3 != 0) {
        std::fprintf(stderr, "usage: render_picture SOURCE.svg TINT WIDTH HEIGHT OUTPUT.png ...\n");
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_picture: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QColor tint = args[2] == QLatin1String("-") ? QColor() : QColor(args[2]);
    if (args[2] != QLatin1String("-") && !tint.isValid()) {
        std::fprintf(stderr, "render_picture: not a colour: %s\n", qPrintable(args[2]));
        return 2;
    }
    for (int k = 3; k + 2 < args.size(); k += 3) {
        bool wide = false, high = false;
        const int width = args[k].toInt(&wide);
        const int height = args[k + 1].toInt(&high);
        if (!wide || !high || width < 1 || height < 1 || width > 4096 || height > 4096) {
            std::fprintf(stderr, "render_picture: bad size %s x %s\n", qPrintable(args[k]), qPrintable(args[k + 1]));
            return 2;
        }
        if (!save(draw(renderer, width, height, tint), args[k + 2])) {
            std::fprintf(stderr, "render_picture: cannot write %s\n", qPrintable(args[k + 2]));
            return 1;
        }
    }
    return 0;
}
