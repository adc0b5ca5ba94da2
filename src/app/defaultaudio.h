// SPDX-License-Identifier: GPL-3.0-or-later
// The sound card output the program plays through when no other is given.
#pragma once

#include <memory>

#include "sound/audiooutput.h"

std::unique_ptr<lexoria::sound::AudioOutput> CreateDefaultAudioOutput();
