// Test helper for the end-to-end scripts, which cannot count on any scripting
// language: writes WAV files and measures a mix captured by SDL's disk audio
// driver (16-bit stereo).
//
//   sound_wav_tool tone  FILE SECONDS FREQUENCY AMPLITUDE [RATE [CHANNELS]]
//   sound_wav_tool level FILE SECONDS VALUE [RATE [CHANNELS]]
//   sound_wav_tool frames RAW                 frames captured
//   sound_wav_tool first RAW THRESHOLD        first frame louder than THRESHOLD, or -1
//   sound_wav_tool peak RAW FROM [TO]         largest magnitude in frames [FROM, TO)
//   sound_wav_tool rms RAW FROM COUNT         root mean square of COUNT frames
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/sound/capture.h"
#include "tests/sound/wav_writer.h"

static int usage() {
  fprintf(stderr,
          "usage: sound_wav_tool tone FILE SECONDS FREQUENCY AMPLITUDE [RATE [CHANNELS]]\n"
          "       sound_wav_tool level FILE SECONDS VALUE [RATE [CHANNELS]]\n"
          "       sound_wav_tool frames RAW\n"
          "       sound_wav_tool first RAW THRESHOLD\n"
          "       sound_wav_tool peak RAW FROM [TO]\n"
          "       sound_wav_tool rms RAW FROM COUNT\n");
  return 2;
}

// A number from the command line; exits with a message when it is not one.
static double number(const char* text) {
  char* end = nullptr;
  double value = strtod(text, &end);
  if (end == text || *end != '\0') {
    fprintf(stderr, "sound_wav_tool: '%s' is not a number\n", text);
    exit(2);
  }
  return value;
}

static int writeSignal(int argc, char** argv, bool tone) {
  int fixed = tone ? 6 : 5;
  if (argc < fixed || argc > fixed + 2) return usage();
  int rate = argc > fixed ? static_cast<int>(number(argv[fixed])) : 44100;
  int channels = argc > fixed + 1 ? static_cast<int>(number(argv[fixed + 1])) : 1;
  double seconds = number(argv[3]);
  if (rate <= 0 || channels <= 0 || seconds < 0) return usage();
  WavData wav = tone ? toneWav(rate, channels, seconds, number(argv[4]),
                               static_cast<int>(number(argv[5])))
                     : levelWav(rate, channels, seconds, static_cast<int>(number(argv[4])));
  if (!writeWav(argv[2], wav)) {
    fprintf(stderr, "sound_wav_tool: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  std::string command = argv[1];
  if (command == "tone") return writeSignal(argc, argv, true);
  if (command == "level") return writeSignal(argc, argv, false);

  std::vector<int16_t> capture = readCapture(argv[2]);
  size_t frames = capture.size() / 2;
  if (command == "frames" && argc == 3) {
    printf("%zu\n", frames);
  } else if (command == "first" && argc == 4) {
    printf("%ld\n", firstFrameAbove(capture, static_cast<int>(number(argv[3]))));
  } else if (command == "peak" && (argc == 4 || argc == 5)) {
    size_t from = static_cast<size_t>(number(argv[3]));
    size_t to = argc == 5 ? static_cast<size_t>(number(argv[4])) : frames;
    printf("%d\n", peakOf(capture, from, to));
  } else if (command == "rms" && argc == 5) {
    printf("%.0f\n", rmsOf(capture, static_cast<size_t>(number(argv[3])),
                           static_cast<size_t>(number(argv[4]))));
  } else {
    return usage();
  }
  return 0;
}
