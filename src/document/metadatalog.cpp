#include "document/metadatalog.h"

#include <exiv2/exiv2.hpp>

// Debug output is off by default so that damaged files do not fill the terminal.
Q_LOGGING_CATEGORY(lcMetadata, "lumo.metadata", QtInfoMsg)

void MetadataLog::install()
{
    Exiv2::LogMsg::setHandler(&MetadataLog::handle);
}

void MetadataLog::handle(int level, const char* message)
{
    // Exiv2 ends its messages with a line break; Qt adds its own.
    const QString text = QString::fromLocal8Bit(message).trimmed();
    if (level >= Exiv2::LogMsg::error)
        qCWarning(lcMetadata).noquote() << text;
    else
        qCDebug(lcMetadata).noquote() << text;
}
