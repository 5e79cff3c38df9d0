// Build-time tool: renders the application's SVG icon to a square PNG of the given size.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: render-icon <icon.svg> <size> <out.png>\n";
        return 2;
    }
    bool ok = false;
    const int size = args.at(2).toInt(&ok);
    QSvgRenderer renderer(args.at(1));
    if (!ok || size <= 0 || !renderer.isValid()) {
        QTextStream(stderr) << "render-icon: cannot render " << args.at(1) << '\n';
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(args.at(3), "PNG") ? 0 : 1;
}
