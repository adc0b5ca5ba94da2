// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt include in a folder that must have none: the layering check fails on
// it.
#pragma once

#include <QString>
