// SPDX-License-Identifier: GPL-3.0-or-later
// cliptool: the sound archive ("data.idx", "data.dat") of the working
// directory, for the people who make its recordings.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "commands.h"

namespace {

int Usage() {
  std::fputs(
      "usage: cliptool list\n"
      "       cliptool extract N FILE      write clip N's body to FILE\n"
      "       cliptool render [--tempo T] N FILE.wav\n"
      "                                    the PCM the program plays for clip N (at T,\n"
      "                                    0.25 to 4, its pitch kept: 0.7 is \"Play slowly\")\n"
      "       cliptool build DIR           data.idx and data.dat from DIR/0001.mp3 ...\n"
      "       cliptool check               every clip loads, renders and speaks at once\n"
      "The archive is read from and written to the working directory.\n",
      stderr);
  return 2;
}

bool ParseClipNumber(const char* text, int32_t& n) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return false;
  n = static_cast<int32_t>(value);
  return true;
}

bool ParseTempo(const char* text, float& tempo) {
  char* end = nullptr;
  const float value = std::strtof(text, &end);
  if (end == text || *end != '\0' || !(value >= 0.25f && value <= 4.0f)) return false;
  tempo = value;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lexoria::cliptool;
  if (argc < 2) return Usage();
  const std::string_view command = argv[1];
  int32_t n = 0;
  if (command == "list" && argc == 2) return ListClips();
  if (command == "check" && argc == 2) return CheckClips();
  if (command == "build" && argc == 3) return BuildArchive(argv[2]);
  if (command == "extract" && argc == 4 && ParseClipNumber(argv[2], n)) return ExtractClip(n, argv[3]);
  if (command == "render" && argc == 4 && ParseClipNumber(argv[2], n)) return RenderClip(n, argv[3]);
  float tempo = 1.0f;
  if (command == "render" && argc == 6 && std::string_view(argv[2]) == "--tempo" && ParseTempo(argv[3], tempo) &&
      ParseClipNumber(argv[4], n))
    return RenderClip(n, argv[5], tempo);
  return Usage();
}
