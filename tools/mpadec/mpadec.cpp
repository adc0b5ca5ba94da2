// SPDX-License-Identifier: GPL-3.0-or-later
// mpadec: decodes every frame of an MPEG audio file to WAV or raw PCM.
//
// mpadec [--reduction 0|1|2] [--channels both|mix|left|right] [--8bit]
//        [--precise] [--simd scalar|sse2|avx2] [--verbose] INPUT OUTPUT
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "mpeg/mpegdecoder.h"

using namespace lexoria::mpeg;

namespace {

int Fail(const std::string& reason) {
  std::fprintf(stderr, "mpadec: %s\n", reason.c_str());
  return 1;
}

// Reads a whole file into `data`, followed by `tail` zero bytes; `size` is the
// file's length. A regular file is read once into one allocation.
bool ReadFile(const char* path, std::vector<uint8_t>& data, size_t& size, size_t tail) {
  FILE* f = std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "rb");
  if (!f) return false;
  size = 0;
  long length = -1;
  if (f != stdin && std::fseek(f, 0, SEEK_END) == 0) {
    length = std::ftell(f);
    std::rewind(f);
  }
  if (length >= 0) {
    data.assign(static_cast<size_t>(length) + tail, 0);
    size = std::fread(data.data(), 1, static_cast<size_t>(length), f);
  } else {
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.insert(data.end(), chunk, chunk + n);
    size = data.size();
  }
  data.resize(size + tail, 0);
  const bool ok = std::ferror(f) == 0;
  if (f != stdin) std::fclose(f);
  return ok;
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 2; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

std::vector<uint8_t> WavHeader(uint32_t rate, uint32_t channels, uint32_t bits, uint32_t dataBytes) {
  std::vector<uint8_t> h;
  const char* riff = "RIFF";
  h.insert(h.end(), riff, riff + 4);
  Put32(h, 36 + dataBytes);
  const char* wave = "WAVEfmt ";
  h.insert(h.end(), wave, wave + 8);
  Put32(h, 16);
  Put16(h, 1);
  Put16(h, channels);
  Put32(h, rate);
  Put32(h, rate * channels * bits / 8);
  Put16(h, channels * bits / 8);
  Put16(h, bits);
  const char* data = "data";
  h.insert(h.end(), data, data + 4);
  Put32(h, dataBytes);
  return h;
}

// Start of the MPEG stream inside the clip wrappers the player knows.
size_t StreamStart(const std::vector<uint8_t>& d, size_t size) {
  auto at = [&](size_t pos, const char* text) {
    const size_t n = std::strlen(text);
    return size >= pos + n && std::memcmp(d.data() + pos, text, n) == 0;
  };
  size_t start = 0;
  if (at(0, "RIFF")) {
    if (at(8, "WAVEfmt")) {
      if (at(50, "fact")) start = 70;
      if (at(52, "fact")) start = 72;
      if (at(50, "data")) start = 58;
    }
    if (at(8, "RMP3") && at(12, "data")) start = 16;
  }
  if (at(start, "ID3") && size >= start + 10) {
    const uint8_t* s = d.data() + start + 6;
    const size_t size =
        (size_t{s[0] & 0x7Fu} << 21) | (size_t{s[1] & 0x7Fu} << 14) | (size_t{s[2] & 0x7Fu} << 7) | (s[3] & 0x7Fu);
    start += 10 + size + ((d[start + 5] & 0x10) ? 10 : 0);
  }
  return start;
}

}  // namespace

int main(int argc, char** argv) {
  DecoderOptions options;
  bool verbose = false;
  std::vector<const char*> files;
  uint32_t conversion = 0;
  Simd simd = BestSimd();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--reduction" && i + 1 < argc) {
      const std::string v = argv[++i];
      if (v != "0" && v != "1" && v != "2") return Fail("--reduction takes 0, 1 or 2");
      options.reduction = static_cast<uint32_t>(v[0] - '0');
    } else if (a == "--channels" && i + 1 < argc) {
      const std::string v = argv[++i];
      if (v == "both")
        conversion = (conversion & ~3u);
      else if (v == "mix")
        conversion = (conversion & ~3u) | 1;
      else if (v == "left")
        conversion = (conversion & ~3u) | 2;
      else if (v == "right")
        conversion = (conversion & ~3u) | 3;
      else
        return Fail("--channels takes both, mix, left or right");
    } else if (a == "--simd" && i + 1 < argc) {
      const std::string v = argv[++i];
      if (v == "scalar")
        simd = Simd::kScalar;
      else if (v == "sse2")
        simd = Simd::kSse2;
      else if (v == "avx2")
        simd = Simd::kAvx2;
      else
        return Fail("--simd takes scalar, sse2 or avx2");
      if (!SimdAvailable(simd)) return Fail("--simd " + v + " is not available on this processor");
    } else if (a == "--8bit") {
      conversion |= kConversion8Bit;
    } else if (a == "--precise") {
      conversion |= kConversionPrecise;
    } else if (a == "--verbose") {
      verbose = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return Fail("unknown option " + a);
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.size() != 2)
    return Fail(
        "usage: mpadec [--reduction 0|1|2] [--channels both|mix|left|right] [--8bit] [--precise] [--simd "
        "scalar|sse2|avx2] "
        "[--verbose] INPUT OUTPUT");

  // The readers may look a little past a frame; a zeroed tail keeps that
  // inside the buffer. The stream is decoded where it was read.
  constexpr size_t kTail = 256;
  std::vector<uint8_t> data;
  size_t fileSize = 0;
  if (!ReadFile(files[0], data, fileSize, kTail)) return Fail(std::string("cannot read ") + files[0]);
  const size_t start = StreamStart(data, fileSize);
  size_t end = fileSize;
  if (end >= start + 128 && std::memcmp(data.data() + end - 128, "TAG", 3) == 0) end -= 128;
  if (start >= end) return Fail("no MPEG audio stream in the input");
  std::memset(data.data() + end, 0, fileSize - end);  // the tag reads as tail
  const uint8_t* stream = data.data() + start;
  const size_t streamLength = end - start;
  const size_t bufferLength = streamLength + kTail;

  Decoder decoder;
  options.conversion = conversion;
  decoder.SetOptions(options);
  decoder.SetSimd(simd);

  // The first frame: resynchronise to the first header the reader accepts.
  size_t offset = 0;
  FrameInfo info;
  for (;;) {
    uint32_t found = 0;
    const int32_t left = static_cast<int32_t>(std::min<size_t>(streamLength - offset, 0x7FFFFFFF));
    if (offset >= streamLength || FindFrameSync(stream + offset, left, found) != Result::kOk)
      return Fail("no MPEG audio frame found");
    offset += found;
    const int32_t available = static_cast<int32_t>(std::min<size_t>(bufferLength - offset, 0x7FFFFFFF));
    if (decoder.ReadStreamInfo(stream + offset, available, info, 1) == Result::kOk) break;
    ++offset;
  }
  if (decoder.Start(stream + offset, static_cast<uint32_t>(std::min<size_t>(bufferLength - offset, 0xFFFFFFFF))) !=
      Result::kOk)
    return Fail("the stream is not decodable (error " + std::to_string(decoder.LastError()) + ")");

  // A first frame that only carries an encoder's VBR or info tag is not audio.
  if (info.layer == 3 && offset + 64 <= streamLength) {
    const size_t side = info.version == 1 ? (info.mode == 3 ? 17 : 32) : (info.mode == 3 ? 9 : 17);
    const uint8_t* tag = stream + offset + 4 + (info.crc ? 2 : 0) + side;
    if (std::memcmp(tag, "Xing", 4) == 0 || std::memcmp(tag, "Info", 4) == 0 || std::memcmp(tag, "VBRI", 4) == 0) {
      FrameHeader header;
      if (ReadFrameHeader(stream + offset, header) == Result::kOk) {
        const uint32_t length = FrameLength(header, HeaderSampleRate(header));
        if (length > 0 && offset + length <= streamLength) offset += length;
      }
    }
  }

  const std::string out = files[1];
  const bool wav = out.size() >= 4 && out.compare(out.size() - 4, 4, ".wav") == 0;
  FILE* f = out == "-" ? stdout : std::fopen(out.c_str(), "wb");
  if (!f) return Fail("cannot write " + out);
  // Unbuffered: the PCM goes out in whole blocks of about 64 KiB, so a
  // stream buffer would only copy every byte once more.
  std::setvbuf(f, nullptr, _IONBF, 0);
  bool ok = true;
  if (wav) {
    // Sizes are patched in once the frames are counted.
    const auto h = WavHeader(info.sampleRate, info.outputChannels, info.outputBits, 0);
    ok = std::fwrite(h.data(), 1, h.size(), f) == h.size();
  }
  uint64_t pcmBytes = 0;

  // Frames are decoded straight into a block of about 64 KiB, written whole.
  const uint32_t frameBytes = info.pcmBytesPerFrame;
  const size_t blockFrames = std::max<size_t>(1, (size_t{1} << 16) / frameBytes);
  std::vector<uint8_t> block(blockFrames * frameBytes);
  size_t filled = 0;
  const auto flush = [&] {
    ok = ok && std::fwrite(block.data(), 1, filled, f) == filled;
    filled = 0;
  };
  const uint8_t silence = (conversion & kConversion8Bit) ? 128 : 0;
  size_t decoded = 0;
  size_t skipped = 0;
  uint32_t lastError = decoder.LastError();
  while (offset + 4 <= streamLength) {
    FrameRequest request;
    request.input = stream + offset;
    request.inputLength = static_cast<uint32_t>(streamLength - offset);
    uint8_t* frame = block.data() + filled;
    request.output = frame;
    FrameHeader header;
    const Result read = ReadFrameHeader(request.input, header);
    bool sameStream = read == Result::kOk;
    if (!sameStream) lastError = ErrorCode(read);
    sameStream = sameStream && header.layer == info.layer && header.version == info.version &&
                 header.samplingIndex == info.samplingIndex;
    if (sameStream) {
      const Result status = decoder.Decode(request);
      lastError = decoder.LastError();
      if (Decoded(status)) {
        // A frame whose main data is not there yet plays as silence.
        if (status == Result::kNoOutput) std::memset(frame, silence, frameBytes);
        filled += frameBytes;
        if (filled == block.size()) flush();
        pcmBytes += frameBytes;
        offset += request.inputLength;
        ++decoded;
        continue;
      }
      if (status == Result::kTooLittleData) break;  // a cut last frame
    }
    ++skipped;
    uint32_t found = 0;
    if (FindFrameSync(stream + offset + 1, static_cast<int32_t>(streamLength - offset - 1), found) != Result::kOk) {
      lastError = kErrorTooLittleData;
      break;
    }
    offset += 1 + found;
  }
  flush();
  if (wav && ok) {
    const auto h = WavHeader(info.sampleRate, info.outputChannels, info.outputBits, static_cast<uint32_t>(pcmBytes));
    ok = std::fseek(f, 0, SEEK_SET) == 0 && std::fwrite(h.data(), 1, h.size(), f) == h.size();
  }
  if (f != stdout)
    ok = (std::fclose(f) == 0) && ok;
  else
    ok = (std::fflush(f) == 0) && ok;
  if (decoded == 0) {
    if (out != "-") std::remove(out.c_str());
    return Fail("no frame could be decoded (error " + std::to_string(lastError) + ")");
  }
  if (verbose)
    std::fprintf(stderr, "MPEG-%s layer %u, %u Hz output, %u channel(s), %u-bit; %zu frames decoded, %zu skipped\n",
                 info.version == 1   ? "1"
                 : info.version == 2 ? "2"
                                     : "2.5",
                 info.layer, info.sampleRate, info.outputChannels, info.outputBits, decoded, skipped);
  if (!ok) return Fail("cannot write " + out);
  return 0;
}
