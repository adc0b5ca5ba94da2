// SPDX-License-Identifier: GPL-3.0-or-later
// What a stream reader or decoder call did. Every reader and decoder call
// that can fail returns one; the decoder also keeps the code of its last
// failure (Decoder::LastError).
#pragma once

#include <cstdint>

namespace lexoria::mpeg {

enum class Result {
  kOk,             // header read, stream started, or one frame of PCM written
  kNoOutput,       // a valid frame whose main data begins before the stream's first byte: nothing written yet
  kTooLittleData,  // fewer bytes than the call needs, or no frame sync in the buffer
  kNoSync,         // no frame header at the input
  kBadHeader,      // a header with invalid fields, or an unusable Xing header
  kNotStarted,     // no stream started, or the stream has nothing to decode with
};

// The numeric error codes of failures.
inline constexpr uint32_t kErrorNoSync = 3;
inline constexpr uint32_t kErrorBadHeader = 4;
inline constexpr uint32_t kErrorTooLittleData = 5;

// The error code of a result; 0 for the two successes.
constexpr uint32_t ErrorCode(Result result) {
  switch (result) {
    case Result::kOk:
    case Result::kNoOutput: return 0;
    case Result::kTooLittleData: return kErrorTooLittleData;
    case Result::kNoSync: return kErrorNoSync;
    case Result::kBadHeader:
    case Result::kNotStarted: return kErrorBadHeader;
  }
  return kErrorBadHeader;
}

// A frame was decoded, with or without output yet.
constexpr bool Decoded(Result result) { return result == Result::kOk || result == Result::kNoOutput; }

}  // namespace lexoria::mpeg
