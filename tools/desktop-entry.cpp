// Build-time tool: fills the desktop entry template's MimeType list from the formats Qt reads here.
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QTextStream>

#include <algorithm>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: desktop-entry <template> <output>\n";
        return 2;
    }
    QFile in(args.at(1));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream(stderr) << "desktop-entry: cannot read " << args.at(1) << '\n';
        return 1;
    }
    QStringList types;
    const QList<QByteArray> supported = QImageReader::supportedMimeTypes();
    for (const QByteArray& type : supported) {
        const QString name = QString::fromLatin1(type);
        if (name.startsWith(QLatin1String("image/")) && !types.contains(name))
            types.append(name);
    }
    std::sort(types.begin(), types.end());
    QString text = QString::fromUtf8(in.readAll());
    text.replace(QStringLiteral("@MIME_TYPES@"), types.join(QLatin1Char(';')) + QLatin1Char(';'));

    QFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
        return 1;
    return out.write(text.toUtf8()) < 0 ? 1 : 0;
}
