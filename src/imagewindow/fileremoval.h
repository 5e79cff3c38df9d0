#pragma once

#include <QString>

// Asks the desktop's file-operations tool to remove a picture's file and returns at once;
// confirmation, removal and any error message are the tool's business.
// False when there is no file or the tool could not be started.
bool requestFileRemoval(const QString& filePath);
