// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/waveplayer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "sound/tempostretch.h"

namespace lexoria::sound {

namespace {

std::unique_ptr<uint8_t[]> ZeroedBlock(size_t size) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]());
}

}  // namespace

CWavePlayer::CWavePlayer(AudioOutput* output) : m_output(output) {}

CWavePlayer::~CWavePlayer() {
  if (m_state != kClosed) Close();
}

void CWavePlayer::ResetFields() {
  m_restDecoded = false;
  m_state = kClosed;
  m_framesPerBlock = kMaxFramesPerBlock;
  m_clip.reset();
  m_clipSize = 0;
  m_streamStart = nullptr;
  m_streamOffset = 0;
  m_deviceOpen = false;
  m_waveFormat = WaveFormat{};
  m_request = mpeg::FrameRequest{};
  m_frameInfo = mpeg::FrameInfo{};
  m_blockHeader = BlockHeader{};
  m_pcmBlock.reset();
  m_pcmBytesPerFrame = 0;
  m_streamLength = 0;
  m_startMs = 0;
  m_endMs = 0;
  m_lowSamplingFrequency = 0;
  m_kbitRate = 0;
  m_sampleRate = 0;
  m_channels = 0;
  m_nominalFrameLength = 0;
  m_frameTimeMs = 0;
  m_vbrTotalFrames = 0;
  m_streamFrames = 0;
  m_streamSampleRate = 0;
  m_firstHeader = mpeg::FrameHeader{};
  m_header = mpeg::FrameHeader{};
  m_framesDecoded = 0;
  m_tempo = 1.0f;
  m_stretched.clear();
  m_stretchedTempo = 0;
  m_framesFailed = 0;
}

uint32_t CWavePlayer::Refuse() {
  ResetFields();
  return kNotPlayable;
}

uint32_t CWavePlayer::StreamStart() const {
  return m_streamStart == nullptr ? 0 : static_cast<uint32_t>(m_streamStart - m_clip.get());
}

uint32_t CWavePlayer::OpenFromMemory(std::vector<uint8_t>&& clip) {
  if (m_state != kClosed) return kSuccess;

  // The clip is ours from here; keep zeroed room after it so the readers
  // never look past the copy.
  const size_t size = clip.size();
  if (size > UINT32_MAX - kTailRoom) {
    std::vector<uint8_t>().swap(clip);
    return Refuse();
  }
  m_clip = ZeroedBlock(size + kTailRoom);
  if (!m_clip) {
    std::vector<uint8_t>().swap(clip);
    ResetFields();
    return kOutOfMemory;
  }
  if (size != 0) std::memcpy(m_clip.get(), clip.data(), size);
  std::vector<uint8_t>().swap(clip);
  m_clipSize = static_cast<uint32_t>(size);

  ClipLayout layout;
  if (!FindClipStream(m_clip.get(), m_clipSize, layout)) return Refuse();
  m_streamStart = m_clip.get() + layout.streamStart;
  m_streamLength = layout.streamLength;

  StreamFormat format;
  if (!ReadFirstHeader(m_streamStart, m_streamLength, format)) return Refuse();
  m_lowSamplingFrequency = format.lowSamplingFrequency;
  m_kbitRate = format.kbitRate;
  m_sampleRate = format.sampleRate;
  m_channels = format.channels;
  m_nominalFrameLength = format.nominalFrameLength;
  m_frameTimeMs = format.frameTimeMs;
  m_waveFormat = PcmFormat(m_sampleRate, m_channels);

  m_decoder.Reset();
  // The bytes really there (plus the zeroed room), not one nominal frame:
  // short frames and short clips must still be readable.
  const uint32_t available = m_streamLength + kTailRoom;
  if (m_decoder.ReadStreamInfo(m_streamStart, static_cast<int32_t>(available), m_frameInfo, 1) != mpeg::Result::kOk)
    return Refuse();
  if (m_frameInfo.vbrFrameLength != 0) m_vbrTotalFrames = m_frameInfo.totalFrames;
  if (m_decoder.Start(m_streamStart, available) != mpeg::Result::kOk) return Refuse();
  m_firstHeader = m_frameInfo;
  // Frames are measured at the rate the decoder was started with, as it
  // measures them itself.
  m_streamSampleRate = mpeg::HeaderSampleRate(m_firstHeader);
  m_streamFrames = CountFrames();

  m_pcmBytesPerFrame = m_frameInfo.pcmBytesPerFrame;
  if (m_pcmBytesPerFrame == 0 || m_pcmBytesPerFrame % m_waveFormat.blockAlign != 0) return Refuse();
  m_pcmBlock = ZeroedBlock(static_cast<size_t>(kMaxFramesPerBlock) * m_pcmBytesPerFrame);
  if (!m_pcmBlock) {
    ResetFields();
    return kOutOfMemory;
  }

  m_deviceOpen = m_output != nullptr && m_output->Open(m_waveFormat);
  m_state = kOpen;
  return kSuccess;
}

uint32_t CWavePlayer::DurationMs() const {
  if (m_kbitRate == 0) return 0;
  // A VBR stream's first frame says nothing of its average rate; its header
  // counts the frames (the header frame itself comes on top). The count is
  // the file's word: in 64 bits, and never more frames than the clip holds.
  if (m_vbrTotalFrames != 0) {
    const uint64_t frames = std::min<uint64_t>(uint64_t{m_vbrTotalFrames} + 1, m_streamFrames);
    return static_cast<uint32_t>(static_cast<double>(frames) * m_frameTimeMs);
  }
  return m_streamLength / m_kbitRate * 8;
}

uint32_t CWavePlayer::FrameAt(uint32_t ms) const {
  if (m_frameTimeMs <= 0) return 0;
  return static_cast<uint32_t>(static_cast<float>(ms) / m_frameTimeMs);
}

uint32_t CWavePlayer::StartByteOffset() const {
  // Into the first decoded frame, whole sample frames, less than one frame.
  const uint32_t frame = FrameAt(m_startMs);
  const float intoFrameMs = static_cast<float>(m_startMs) - static_cast<float>(frame) * m_frameTimeMs;
  if (intoFrameMs <= 0) return 0;
  const uint32_t samples = static_cast<uint32_t>(intoFrameMs * static_cast<float>(m_sampleRate) / 1000.0f);
  const uint32_t offset = samples * m_waveFormat.blockAlign;
  return offset < m_pcmBytesPerFrame ? offset : 0;
}

uint32_t CWavePlayer::FrameLengthAt(uint32_t offset, mpeg::FrameHeader& header) const {
  if (offset >= m_streamLength || m_streamLength - offset < 4) return 0;
  if (mpeg::ReadFrameHeader(m_streamStart + offset, header) != mpeg::Result::kOk) return 0;
  // A frame of another layout (layer, version, channel count) would not fit
  // the slots the first frame sized.
  if (header.layer != m_firstHeader.layer || header.version != m_firstHeader.version ||
      (header.mode == 3) != (m_firstHeader.mode == 3))
    return 0;
  return mpeg::FrameLength(header, m_streamSampleRate);
}

uint32_t CWavePlayer::CountFrames() const {
  uint32_t frames = 0;
  mpeg::FrameHeader header;
  for (uint32_t offset = 0;;) {
    const uint32_t length = FrameLengthAt(offset, header);
    if (length == 0) break;
    ++frames;
    offset += length;
  }
  return frames;
}

uint32_t CWavePlayer::PrepareRange(uint32_t startMs, uint32_t endMs) {
  if (m_state != kOpen) return kSuccess;
  m_startMs = startMs;
  m_endMs = endMs;
  const uint32_t duration = DurationMs();
  if (m_startMs > m_endMs) {
    m_startMs = 0;
    m_endMs = duration;
  }
  if (m_startMs == 0 && m_endMs == 0) {
    // The duration of the whole frames.
    m_endMs = m_vbrTotalFrames != 0 || m_nominalFrameLength == 0
                  ? duration
                  : m_streamLength / m_nominalFrameLength * m_nominalFrameLength / m_kbitRate * 8;
  }
  if (duration < m_startMs) m_startMs = 0;
  if (duration < m_endMs) m_endMs = duration;

  const uint32_t frames = FrameAt(m_endMs) - FrameAt(m_startMs) + 1;
  m_framesPerBlock = std::min(frames, kMaxFramesPerBlock);

  m_request = mpeg::FrameRequest{};
  // Every prepare starts from the clip's first frame with a fresh decoder,
  // so a second prepare is not shifted by where the first one stopped.
  m_streamOffset = 0;
  m_restDecoded = false;
  m_stretchedTempo = 0;  // another range, another block to stretch
  if (m_decoder.Start(m_streamStart, m_streamLength + kTailRoom) != mpeg::Result::kOk) return kSuccess;
  // Move to the start frame, each frame by its own length (frames of a
  // 44.1 kHz stream differ by their padding byte).
  for (uint32_t s = FrameAt(m_startMs); s > 0; --s) {
    const uint32_t length = FrameLengthAt(m_streamOffset, m_header);
    if (length == 0) break;
    m_streamOffset += length;
  }

  DecodeSlots(0, m_framesPerBlock / 4);
  return kSuccess;
}

bool CWavePlayer::DecodeSlot(uint32_t slot) {
  const uint32_t frameLength = FrameLengthAt(m_streamOffset, m_header);
  if (frameLength == 0) return false;

  static_cast<mpeg::FrameHeader&>(m_request) = m_header;
  m_request.bitrate = mpeg::HeaderBitrate(m_header);
  m_request.input = m_streamStart + m_streamOffset;
  // The bytes really left: a frame cut short by the clip's end is not
  // decoded from whatever follows it.
  m_request.inputLength = std::min(frameLength, m_streamLength - m_streamOffset);
  uint8_t* out = m_pcmBlock.get() + static_cast<size_t>(slot) * m_pcmBytesPerFrame;
  m_request.output = out;
  m_request.outputLength = m_pcmBytesPerFrame;
  // A frame that does not decode, or that has no output yet (its main data
  // begins before the reservoir does), plays as silence of its length, never
  // as whatever an earlier prepare left in its slot.
  std::memset(out, 0, m_pcmBytesPerFrame);
  if (mpeg::Decoded(m_decoder.Decode(m_request)))
    ++m_framesDecoded;
  else
    ++m_framesFailed;
  m_streamOffset += frameLength;
  return true;
}

void CWavePlayer::DecodeSlots(uint32_t first, uint32_t end) {
  for (uint32_t slot = first; slot < end; ++slot) {
    if (!DecodeSlot(slot)) break;
  }
}

uint32_t CWavePlayer::Start() {
  if (m_state == kClosed) return kSuccess;
  if (!m_restDecoded) {
    DecodeSlots(m_framesPerBlock / 4, m_framesPerBlock);
    m_restDecoded = true;
  }
  m_state = kPlaying;
  const uint32_t offset = StartByteOffset();
  m_blockHeader = BlockHeader{};
  m_blockHeader.data = m_pcmBlock.get() + offset;
  m_blockHeader.length = m_framesPerBlock * m_pcmBytesPerFrame - offset;
  const std::vector<uint8_t> released = m_tempo != 1.0f ? ApplyTempo() : std::vector<uint8_t>{};
  if (m_deviceOpen) m_output->Write(m_blockHeader.data, m_blockHeader.length);
  return kSuccess;
}

uint32_t CWavePlayer::StartAtTempo(float tempo) {
  m_tempo = tempo;
  const uint32_t result = Start();
  m_tempo = 1.0f;
  return result;
}

std::vector<uint8_t> CWavePlayer::ApplyTempo() {
  std::vector<uint8_t> released;
  if (m_stretchedTempo != m_tempo || m_stretched.empty()) {
    std::vector<uint8_t> stretched;
    if (!StretchPcm(m_blockHeader.data, m_blockHeader.length, m_waveFormat, m_tempo, stretched)) return released;
    released.swap(m_stretched);
    m_stretched.swap(stretched);
    m_stretchedTempo = m_tempo;
  }
  m_blockHeader.data = m_stretched.data();
  m_blockHeader.length = static_cast<uint32_t>(m_stretched.size());
  return released;
}

uint32_t CWavePlayer::Stop() {
  if (m_state == kClosed || m_state == kOpen) return kSuccess;
  m_state = kOpen;
  if (m_deviceOpen) m_output->Reset();
  m_blockHeader = BlockHeader{};
  return kSuccess;
}

uint32_t CWavePlayer::Pause() {
  if (m_state != kPlaying) return kWrongState;
  if (m_deviceOpen) m_output->Pause();
  m_state = kPaused;
  return kSuccess;
}

uint32_t CWavePlayer::Resume() {
  if (m_state != kPaused) return kWrongState;
  if (m_deviceOpen) m_output->Restart();
  m_state = kPlaying;
  return kSuccess;
}

bool CWavePlayer::ReopenDevice() {
  if (m_state == kClosed || m_output == nullptr) return false;
  if (m_state == kPlaying || m_state == kPaused) Stop();
  if (m_deviceOpen) m_output->Close();
  m_deviceOpen = m_output->Open(m_waveFormat);
  return m_deviceOpen;
}

uint32_t CWavePlayer::Close() {
  m_restDecoded = false;
  if (m_state == kClosed) return kSuccess;
  if (m_state == kPlaying || m_state == kPaused) Stop();
  // The output lets go of the block before it is freed.
  if (m_deviceOpen) m_output->Close();
  ResetFields();
  return kSuccess;
}

}  // namespace lexoria::sound
