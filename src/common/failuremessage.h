#pragma once

#include <QString>

#include "common/services.h"

namespace velmora {

// The message of a file operation that failed: archiveBusyMessage() when a lock of the current
// user action was refused because another workstation held the folder, else fileError.
QString fileFailureMessage(const QString &fileError = fileErrorMessage());

} // namespace velmora
