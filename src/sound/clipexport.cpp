// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/clipexport.h"

#include "sound/clipstream.h"

namespace lexoria::sound {

ClipStatus ExtractClipStream(const std::filesystem::path& folder, std::int32_t n, std::vector<std::uint8_t>& stream) {
  stream.clear();
  std::vector<std::uint8_t> body;
  const ClipStatus status = ReadClip(folder, n, body);
  if (status != ClipStatus::Loaded) return status;
  ClipLayout layout;
  StreamFormat format;
  if (!FindClipStream(body.data(), static_cast<std::uint32_t>(body.size()), layout) ||
      !ReadFirstHeader(body.data() + layout.streamStart, layout.streamLength, format))
    return ClipStatus::NotPlayable;
  stream.assign(body.begin() + layout.streamStart, body.begin() + layout.streamStart + layout.streamLength);
  return ClipStatus::Loaded;
}

}  // namespace lexoria::sound
