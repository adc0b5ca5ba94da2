// SPDX-License-Identifier: GPL-3.0-or-later
// The temporary folder and new, empty files in it.
#pragma once

#include <QString>

namespace lexoria {

QString TemporaryFolder();

// Creates a new empty file named after the prefix in the temporary folder
// and returns its path; an existing file is never reused. Empty on failure.
QString CreateUniqueTemporaryFile(const QString& prefix);

}  // namespace lexoria
