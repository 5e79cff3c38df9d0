#include "support/fuzzentries.h"

#include "decoding/decoderpool.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

// One fuzz target: the entry named by LUMO_FUZZ_ENTRY, in an application of its own whose home
// and XDG folders are a temporary folder, so nothing of the user's is read or written.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/lumo-fuzz-XXXXXX"));
    const QByteArray root = QFile::encodeName(home.path());
    setenv("HOME", root.constData(), 1);
    for (const char* variable : {"XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        setenv(variable, (root + '/' + variable).constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Decoded here, where the sanitizers see the program's own code at work.
    DecoderPool::setInProcess(true);
    // Never destroyed: Qt's offscreen platform leaves its screen behind when the application
    // ends, which the leak check at exit would count against the last input.
    static const QGuiApplication* const app = new QGuiApplication(*argc, *argv);
    return app ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzentries::LUMO_FUZZ_ENTRY(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size)));
    return 0;
}
