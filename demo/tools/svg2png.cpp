// Build tool: renders an SVG image to a PNG of the SVG's own size (times an optional scale).
// Usage: dm-svg2png <input.svg> <output.png> [scale]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3 || arguments.size() > 4) {
        std::fprintf(stderr, "usage: dm-svg2png <input.svg> <output.png> [scale]\n");
        return 2;
    }
    double scale = 1.0;
    if (arguments.size() == 4) {
        bool ok = false;
        scale = arguments.at(3).toDouble(&ok);
        if (!ok || scale <= 0 || scale > 16) {
            std::fprintf(stderr, "dm-svg2png: bad scale %s\n", qPrintable(arguments.at(3)));
            return 2;
        }
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid() || renderer.defaultSize().isEmpty()) {
        std::fprintf(stderr, "dm-svg2png: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    QSaveFile out(arguments.at(2));
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
        std::fprintf(stderr, "dm-svg2png: cannot write %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
