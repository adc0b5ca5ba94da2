// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's "open" action: a web address in the user's browser, a program
// with its command line as a separate process. Both return at once; callers
// do not look at the outcome, the results are there for tests.
#pragma once

#include <QString>
#include <QStringList>

namespace lexoria {

bool OpenWebAddress(const QString& address);
bool StartProgram(const QString& program, const QStringList& arguments);

}  // namespace lexoria
