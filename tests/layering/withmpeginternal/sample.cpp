// SPDX-License-Identifier: GPL-3.0-or-later
// A decoder stage's own header included from another layer: the check
// fails on it.
#include "mpeg/decoderstate.h"
