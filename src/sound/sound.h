// SPDX-License-Identifier: GPL-3.0-or-later
// Sound playback, without any window toolkit.
//
// Data flow: LoadClip (loadclip.h) reads one clip body from the archive
// "data.idx"/"data.dat" (cliparchive.h) and hands it to the CWavePlayer
// (waveplayer.h), which copies it, finds the MPEG audio stream inside its
// wrapper and takes the output format from the first frame header
// (clipstream.h), starts the decoder (src/mpeg) and opens its AudioOutput
// (audiooutput.h). PrepareRange decodes the first quarter of a PCM block of
// at most 300 frames; Start decodes the rest once per clip and writes the
// block to the output in one buffer, which plays on its own. The output is
// the sound server (PulseOutput in src/toolkit) or a CaptureOutput that
// keeps the PCM for tests and tools.
#pragma once

#include "sound/audiooutput.h"
#include "sound/captureoutput.h"
#include "sound/cliparchive.h"
#include "sound/clipstream.h"
#include "sound/loadclip.h"
#include "sound/waveformat.h"
#include "sound/waveplayer.h"
