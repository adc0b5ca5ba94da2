// SPDX-License-Identifier: GPL-3.0-or-later
// CWavePlayer: plays one clip at a time, through a decoder of its own.
// OpenFromMemory copies the clip, finds its MPEG audio stream, starts the
// decoder and opens the output;
// PrepareRange sizes the PCM block (300 frames at most) and decodes its
// first quarter; Start decodes the rest (once per clip) and writes the whole
// block to the output in one buffer, which plays on its own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mpeg/mpegdecoder.h"
#include "sound/audiooutput.h"
#include "sound/clipstream.h"
#include "sound/waveformat.h"

namespace lexoria::sound {

class CWavePlayer {
 public:
  // States.
  static constexpr uint32_t kClosed = 0;
  static constexpr uint32_t kOpen = 1;  // stopped
  static constexpr uint32_t kPlaying = 2;
  static constexpr uint32_t kPaused = 3;

  // Result codes.
  static constexpr uint32_t kSuccess = 0;
  static constexpr uint32_t kOutOfMemory = 3;
  static constexpr uint32_t kWrongState = 4;
  // OpenFromMemory: the clip holds no stream we can time and decode (a RIFF
  // layout we do not know, an invalid first header, too few bytes).
  static constexpr uint32_t kNotPlayable = 5;

  static constexpr uint32_t kMaxFramesPerBlock = 300;
  // Zeroed bytes kept after the clip copy: the stream reader looks at up to
  // 156 bytes from a frame's start and the bit reader a few bytes beyond.
  static constexpr uint32_t kTailRoom = 160;

  // `output` may be null (no sound card): everything works, nothing sounds.
  // It must outlive the player.
  explicit CWavePlayer(AudioOutput* output = nullptr);
  ~CWavePlayer();
  CWavePlayer(const CWavePlayer&) = delete;
  CWavePlayer& operator=(const CWavePlayer&) = delete;

  // Takes the clip (the vector is emptied) unless the player is not closed,
  // in which case it returns kSuccess and leaves the clip with the caller.
  uint32_t OpenFromMemory(std::vector<uint8_t>&& clip);
  uint32_t PrepareRange(uint32_t startMs, uint32_t endMs);
  uint32_t Start();
  // Start with the block stretched to play at `tempo` (kSlowTempo for the
  // "Play slowly" button), its pitch kept; the next Start plays as recorded.
  uint32_t StartAtTempo(float tempo);
  uint32_t Stop();
  uint32_t Pause();
  uint32_t Resume();
  uint32_t Close();

  uint32_t State() const { return m_state; }
  uint32_t FramesPerBlock() const { return m_framesPerBlock; }
  bool RestDecoded() const { return m_restDecoded; }
  uint32_t StreamStart() const;  // offset in the clip; 0 when closed
  uint32_t StreamLength() const { return m_streamLength; }
  uint32_t StreamOffset() const { return m_streamOffset; }
  uint32_t StartMs() const { return m_startMs; }
  uint32_t EndMs() const { return m_endMs; }
  // (stream length / kbit rate) x 8 ms.
  uint32_t DurationMs() const;
  bool DeviceOpen() const { return m_deviceOpen; }
  // The output is open and still has its device: a play can be heard.
  bool DeviceReady() const { return m_deviceOpen && !m_output->Lost(); }
  // Ready, but the device has not answered yet (AudioOutput::Waiting).
  bool DeviceWaiting() const { return DeviceReady() && m_output->Waiting(); }
  // Opens the output again for the clip held (the device was missing or
  // went away, and may be back); false while it is still not there.
  bool ReopenDevice();
  const WaveFormat& Format() const { return m_waveFormat; }
  uint16_t LowSamplingFrequency() const { return m_lowSamplingFrequency; }
  uint16_t KbitRate() const { return m_kbitRate; }
  uint16_t SampleRate() const { return m_sampleRate; }
  uint16_t Channels() const { return m_channels; }
  uint16_t NominalFrameLength() const { return m_nominalFrameLength; }
  uint32_t PcmBytesPerFrame() const { return m_pcmBytesPerFrame; }
  // The whole PCM block (frames per block x PCM bytes per frame); empty
  // when closed.
  const uint8_t* Block() const { return m_pcmBlock.get(); }
  uint32_t BlockSize() const { return m_framesPerBlock * m_pcmBytesPerFrame; }
  // Frames the decoder decoded into the block since the clip was opened.
  uint32_t FramesDecoded() const { return m_framesDecoded; }
  // Frames that failed to decode and were played as silence instead.
  uint32_t FramesFailed() const { return m_framesFailed; }
  // Whole frames of the first frame's layout from the stream's start.
  uint32_t StreamFrames() const { return m_streamFrames; }

 private:
  // What is written to the output: a range of the PCM block.
  struct BlockHeader {
    const uint8_t* data = nullptr;
    uint32_t length = 0;
    uint32_t flags = 0;
  };

  uint32_t Refuse();
  uint32_t FrameAt(uint32_t ms) const;
  uint32_t StartByteOffset() const;
  // Reads the header at a stream offset and measures its frame (the
  // decoder's own FrameLength at the stream's rate); 0 at the end of the
  // stream, on a header the reader refuses or one of another layout.
  uint32_t FrameLengthAt(uint32_t offset, mpeg::FrameHeader& header) const;
  uint32_t CountFrames() const;
  void DecodeSlots(uint32_t first, uint32_t end);
  bool DecodeSlot(uint32_t slot);
  void ResetFields();
  // Points the block header at the block stretched to m_tempo; the block
  // the output may still hold is handed back to be freed after the write.
  std::vector<uint8_t> ApplyTempo();

  AudioOutput* m_output;
  // Everything the stream's decoding carries from frame to frame.
  mpeg::Decoder m_decoder;

  bool m_restDecoded = false;
  uint32_t m_state = kClosed;
  uint32_t m_framesPerBlock = kMaxFramesPerBlock;
  std::unique_ptr<uint8_t[]> m_clip;  // clip copy, with kTailRoom zeroed after it
  uint32_t m_clipSize = 0;
  const uint8_t* m_streamStart = nullptr;
  uint32_t m_streamOffset = 0;
  bool m_deviceOpen = false;
  WaveFormat m_waveFormat;
  mpeg::FrameRequest m_request;
  mpeg::FrameInfo m_frameInfo;
  BlockHeader m_blockHeader;
  std::unique_ptr<uint8_t[]> m_pcmBlock;
  uint32_t m_pcmBytesPerFrame = 0;
  uint32_t m_streamLength = 0;
  uint32_t m_startMs = 0;
  uint32_t m_endMs = 0;
  uint16_t m_lowSamplingFrequency = 0;
  uint16_t m_kbitRate = 0;
  uint16_t m_sampleRate = 0;
  uint16_t m_channels = 0;
  uint16_t m_nominalFrameLength = 0;
  float m_frameTimeMs = 0;
  // Frames in the stream by its VBR header (0 without one).
  uint32_t m_vbrTotalFrames = 0;
  uint32_t m_streamFrames = 0;
  uint32_t m_streamSampleRate = 0;
  mpeg::FrameHeader m_firstHeader;
  mpeg::FrameHeader m_header;  // the frame being decoded
  uint32_t m_framesDecoded = 0;
  float m_tempo = 1.0f;
  // The last stretched block and its tempo, kept while the clip stays open.
  std::vector<uint8_t> m_stretched;
  float m_stretchedTempo = 0;
  uint32_t m_framesFailed = 0;
};

}  // namespace lexoria::sound
