#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMetadata)

// Routes Exiv2's messages into Qt's log: its warnings about odd files are of use only when
// debugging ("lumo.metadata.debug=true" in QT_LOGGING_RULES), its errors stay visible as warnings.
class MetadataLog
{
public:
    // Safe to call more than once; call before the first Exiv2 use.
    static void install();

    // The handler install() gives Exiv2, for checking that it is in place.
    static void handle(int level, const char* message);
};
