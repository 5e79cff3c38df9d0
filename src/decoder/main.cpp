// lumo-decode: decodes picture files for lumo-image in a confined process of its own, so that
// a file that crashes a codec, exhausts memory or never ends costs one picture.

#include "decoder/decoderconfinement.h"
#include "decoder/decodeserver.h"

#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <QtDebug>

#include <unistd.h>

int main(int argc, char** argv)
{
    int channel = -1;
    qint64 memoryLimitMB = 0;
    QString translations;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray option(argv[i]);
        if (option == "--channel")
            channel = QByteArray(argv[i + 1]).toInt();
        else if (option == "--memory-limit-mb")
            memoryLimitMB = QByteArray(argv[i + 1]).toLongLong();
        else if (option == "--translations")
            translations = QFile::decodeName(argv[i + 1]);
    }
    if (channel < 3 || memoryLimitMB <= 0) {
        qCritical("usage: lumo-decode --channel <descriptor> --memory-limit-mb <megabytes>"
                  " [--translations <directory>]\n"
                  "Started by lumo-image; not meant to be run by hand.");
        return 2;
    }
    DecoderConfinement::closeDescriptorsBut(channel);
    if (!DecoderConfinement::dieWithParent())
        return 1;

    // Text in SVG pictures needs fonts, which only a GUI application finds; nothing is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Texts made here, such as why metadata could not be read, are in the user's language.
    QTranslator translator;
    if (!translations.isEmpty()
        && translator.load(QLocale(), QStringLiteral("lumo-image"), QStringLiteral("_"),
                           translations))
        QCoreApplication::installTranslator(&translator);
    DecodeServer::warmUp();
    const qint64 memoryLimit = memoryLimitMB << 20;
    DecoderConfinement::limitMemory(memoryLimit);
    DecoderConfinement::limitFiles(memoryLimit);
    if (!DecoderConfinement::restrictSystemCalls()) {
        qCritical("lumo-decode: the system-call filter cannot be installed");
        ::_exit(1);
    }

    DecodeServer(channel, memoryLimit).run();
    // Nothing is left to flush, and the filter would not let exit handlers look around.
    ::_exit(0);
}
