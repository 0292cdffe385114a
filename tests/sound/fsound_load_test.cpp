// The FSOUND layer's device start-up and loading: real WAV files written by
// other tools and by us, damaged and foreign files, null handles, channel
// numbers.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/fsound/fsound_internal.h"
#include "tests/sound/sound_fixture.h"
#include "tests/sound/wav_writer.h"

namespace {

const char* const kAlsaFiles[] = {"Front_Center", "Front_Left", "Front_Right",
                                  "Noise",        "Rear_Center", "Rear_Left",
                                  "Rear_Right",   "Side_Left",  "Side_Right"};
const std::string kAlsaDir = "/usr/share/sounds/alsa/";

const unsigned kMode = 8496;  // 16-bit, mono, signed, 2D: what the game passes

int openDescriptors() {
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
  closedir(dir);
  return count;
}

// Bytes of the data chunk of a canonical WAV file (44-byte header).
uint32_t dataBytesOf(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<uint32_t>(info.st_size - 44) : 0;
}

TEST_F(SoundTest, InitOpensTheDeviceAtTheRateWithTheChannels) {
  openDummyDevice(44100, 32);
  int rate = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(format, AUDIO_S16SYS);
  EXPECT_EQ(channels, 2);
  EXPECT_EQ(Mix_AllocateChannels(-1), 32);
  // Open already: a second start changes nothing.
  EXPECT_EQ(FSOUND_Init(22050, 4, 0), 1);
  ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(Mix_AllocateChannels(-1), 32);

  FSOUND_Close();
  openDummyDevice(22050, 4);
  ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
  EXPECT_EQ(rate, 22050);
  EXPECT_EQ(Mix_AllocateChannels(-1), 4);
}

// The game never reads SDL's events, so SDL must not take over the signals
// that end a process.
TEST_F(SoundTest, InitLeavesInterruptAndTerminateAlone) {
  openDummyDevice();
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action;
    ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
  }
}

// ALSA prints a dozen lines on standard error when it finds no sound card;
// the console stays the game's own, and standard error works again after.
TEST_F(SoundTest, DriverProbesPrintNothing) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  ::testing::internal::CaptureStderr();
  FSOUND_Init(44100, 32, 0);
  fputs("after", stderr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "after");
}

TEST_F(SoundTest, InitFailsWithNoDeviceOrBadArguments) {
  useMissingDriver();
  EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(FSOUND_Init(0, 32, 0), 0);
  EXPECT_EQ(FSOUND_Init(-44100, 32, 0), 0);
  EXPECT_EQ(FSOUND_Init(44100, -1, 0), 0);
  EXPECT_EQ(FSOUND_Init(44100, 1 << 30, 0), 0);
  // None of the failures left a device open.
  int rate = 0, channels = 0;
  Uint16 format = 0;
  EXPECT_EQ(Mix_QuerySpec(&rate, &format, &channels), 0);
  // The flags are accepted whatever they are.
  EXPECT_EQ(FSOUND_Init(44100, 32, 0xffffffffu), 1);
}

TEST_F(SoundTest, FilesFromOtherToolsLoadAsSamples) {
  openDummyDevice();
  for (const char* name : kAlsaFiles) {
    std::string path = kAlsaDir + name + ".wav";
    ASSERT_EQ(access(path.c_str(), R_OK), 0) << path << " (alsa-utils) is missing";
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
    ASSERT_NE(sample, nullptr) << path;
    ASSERT_NE(sample->chunk, nullptr);
    // 48 kHz mono 16-bit resampled to the mix: 44.1 kHz stereo 16-bit.
    double expected = dataBytesOf(path) / 2.0 * 44100.0 / 48000.0 * 4.0;
    EXPECT_NEAR(sample->chunk->alen, expected, expected * 0.01) << path;
    EXPECT_GE(FSOUND_PlaySound(FSOUND_FREE, sample), 0) << path;
  }
}

TEST_F(SoundTest, SamplesDecodeWithNoDeviceAndPlayNothing) {
  useMissingDriver();
  ASSERT_EQ(FSOUND_Init(44100, 32, 0), 0);
  std::string ours = pathOf("tone.wav");
  ASSERT_TRUE(writeWav(ours, toneWav(22050, 1, 0.2, 440, 8000)));
  std::string theirs = kAlsaDir + "Front_Center.wav";
  for (const std::string& path : {ours, theirs}) {
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
    ASSERT_NE(sample, nullptr) << path;
    EXPECT_EQ(FSOUND_PlaySound(1, sample), -1);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, sample), -1);
  }
  // Streams need the device.
  EXPECT_EQ(FSOUND_Stream_Open(ours.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr);

  // A device opened later does not wake the handles made without one.
  FSOUND_SAMPLE* early = FSOUND_Sample_Load(FSOUND_FREE, ours.c_str(), kMode, 0, 0);
  openDummyDevice();
  EXPECT_EQ(FSOUND_PlaySound(1, early), -1);
}

TEST_F(SoundTest, OurOwnWavFormatsLoad) {
  openDummyDevice();
  struct Case {
    int rate, channels;
  } cases[] = {{44100, 2}, {44100, 1}, {22050, 1}, {48000, 2}, {8000, 1}};
  for (const Case& c : cases) {
    std::string path = pathOf("tone.wav");
    ASSERT_TRUE(writeWav(path, toneWav(c.rate, c.channels, 0.25, 440, 8000)));
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
    ASSERT_NE(sample, nullptr) << c.rate << " Hz, " << c.channels << " channels";
    EXPECT_NEAR(sample->chunk->alen, 0.25 * 44100 * 4, 0.25 * 44100 * 4 * 0.01);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    EXPECT_NE(stream, nullptr) << c.rate << " Hz, " << c.channels << " channels";
  }
}

TEST_F(SoundTest, NamesAreFoundIgnoringCase) {
  openDummyDevice();
  ASSERT_EQ(mkdir(pathOf("data").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(pathOf("data/les_sons").c_str(), 0755), 0);
  ASSERT_TRUE(writeWav(pathOf("data/les_sons/BURGLAR.WAV"), toneWav(44100, 1, 0.1, 440, 8000)));
  std::string asWritten = pathOf("Data/Les_Sons/Burglar.wav");
  EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, asWritten.c_str(), kMode, 0, 0), nullptr);
  EXPECT_NE(FSOUND_Stream_Open(asWritten.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr);
}

// Every bad file is tried with the device open and with none.
class BadFileTest : public SoundTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    if (GetParam()) {
      openDummyDevice();
    } else {
      useMissingDriver();
      ASSERT_EQ(FSOUND_Init(44100, 32, 0), 0);
    }
  }

  void expectRefused(const std::string& path, const std::string& what) {
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0), nullptr) << what;
    EXPECT_EQ(FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr) << what;
  }
};

TEST_P(BadFileTest, MissingEmptyForeignAndNonFilesGiveNull) {
  int descriptors = openDescriptors();
  expectRefused(pathOf("missing.wav"), "missing file");
  expectRefused(pathOf("no/such/folder/missing.wav"), "missing folder");
  EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, nullptr, kMode, 0, 0), nullptr);
  EXPECT_EQ(FSOUND_Stream_Open(nullptr, FSOUND_LOOP_NORMAL, 0, 0), nullptr);

  ASSERT_TRUE(writeBytes(pathOf("empty.wav"), {}));
  expectRefused(pathOf("empty.wav"), "empty file");
  std::string text = "this is not a sound at all, only some text\n";
  ASSERT_TRUE(writeBytes(pathOf("text.wav"), std::vector<uint8_t>(text.begin(), text.end())));
  expectRefused(pathOf("text.wav"), "text file");
  std::vector<uint8_t> avi = wavBytes(toneWav(44100, 1, 0.1, 440, 8000));
  std::copy_n("AVI ", 4, avi.begin() + 8);
  ASSERT_TRUE(writeBytes(pathOf("avi.wav"), avi));
  expectRefused(pathOf("avi.wav"), "RIFF file that is not WAVE");

  ASSERT_EQ(mkdir(pathOf("folder.wav").c_str(), 0755), 0);
  expectRefused(pathOf("folder.wav"), "directory");
  // A named pipe with no writer: refused at once rather than waited on.
  ASSERT_EQ(mkfifo(pathOf("pipe.wav").c_str(), 0644), 0);
  expectRefused(pathOf("pipe.wav"), "named pipe");

  EXPECT_EQ(openDescriptors(), descriptors) << "a refused file was left open";
}

// A PCM file whose block size is 0 is not among them: SDL 2.26 (Debian 12)
// refuses it, SDL 2.32 (Debian 13) takes the size from the channels and bits
// and decodes the sound whole, and either is sound.
TEST_P(BadFileTest, BrokenFormatFieldsGiveNull) {
  const WavData tone = toneWav(44100, 1, 0.05, 440, 8000);
  struct Patch {
    size_t at;
    uint16_t value;
    const char* what;
  } patches[] = {
      {20, 99, "unknown encoding"}, {22, 0, "no channels"}, {24, 0, "zero rate (low)"},
      {34, 0, "zero bits"},         {34, 13, "13 bits"},
  };
  for (const Patch& patch : patches) {
    std::vector<uint8_t> bytes = wavBytes(tone);
    bytes[patch.at] = patch.value & 0xff;
    bytes[patch.at + 1] = patch.value >> 8;
    if (patch.at == 24) bytes[26] = bytes[27] = 0;  // the whole 32-bit rate
    ASSERT_TRUE(writeBytes(pathOf("broken.wav"), bytes));
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, pathOf("broken.wav").c_str(), kMode, 0, 0),
              nullptr)
        << patch.what;
    // A stream is not decoded ahead: it must only not crash.
    FSOUND_STREAM* stream = FSOUND_Stream_Open(pathOf("broken.wav").c_str(), 2, 0, 0);
    FSOUND_Stream_Play(FSOUND_FREE, stream);
  }
}

TEST_P(BadFileTest, EveryTruncationGivesNull) {
  std::vector<uint8_t> whole = wavBytes(toneWav(8000, 1, 0.01, 440, 8000));
  int descriptors = openDescriptors();
  for (size_t size = 0; size < whole.size(); ++size) {
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + size);
    ASSERT_TRUE(writeBytes(pathOf("cut.wav"), cut));
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, pathOf("cut.wav").c_str(), kMode, 0, 0), nullptr)
        << "cut to " << size << " of " << whole.size() << " bytes";
    FSOUND_STREAM* stream = FSOUND_Stream_Open(pathOf("cut.wav").c_str(), 2, 0, 0);
    FSOUND_Stream_Play(FSOUND_FREE, stream);
    if (size < 44) {
      EXPECT_EQ(stream, nullptr) << "header cut to " << size << " bytes";
    }
  }
  FSOUND_Close();
  EXPECT_EQ(openDescriptors(), descriptors) << "a refused file was left open";
  // The whole file loads.
  ASSERT_TRUE(writeBytes(pathOf("cut.wav"), whole));
  EXPECT_NE(FSOUND_Sample_Load(FSOUND_FREE, pathOf("cut.wav").c_str(), kMode, 0, 0), nullptr);
}

// Damage anywhere in a file, header or data, is survived: the load gives a
// handle or null, and whatever loads plays.
TEST_P(BadFileTest, RandomDamageIsSurvived) {
  const std::vector<uint8_t> whole = wavBytes(toneWav(8000, 2, 0.02, 440, 8000));
  unsigned seed = 12345;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
  int loaded = 0;
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> bytes = whole;
    int changes = 1 + next() % 4;
    for (int i = 0; i < changes; ++i) {
      // Mostly in the 44 header bytes, where damage matters most.
      size_t at = next() % 4 != 0 ? next() % 44 : next() % bytes.size();
      bytes[at] = static_cast<uint8_t>(next() & 0xff);
    }
    ASSERT_TRUE(writeBytes(pathOf("damaged.wav"), bytes));
    std::string path = pathOf("damaged.wav");
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    loaded += sample != nullptr;
    FSOUND_PlaySound(1, sample);
    FSOUND_Stream_Play(FSOUND_FREE, stream);
  }
  // Some damage is harmless (a changed sample value): those files load.
  EXPECT_GT(loaded, 0);
}

INSTANTIATE_TEST_SUITE_P(DeviceOpenOrNot, BadFileTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "WithDevice" : "WithoutDevice";
                         });

TEST_F(SoundTest, OnlyWholeFilesLoad) {
  openDummyDevice();
  std::string path = pathOf("tone.wav");
  ASSERT_TRUE(writeWav(path, toneWav(44100, 1, 0.1, 440, 8000)));
  EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 44, 0), nullptr);
  EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 100), nullptr);
  EXPECT_EQ(FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, -1, 0), nullptr);
  // Any slot index gives a new handle.
  FSOUND_SAMPLE* first = FSOUND_Sample_Load(3, path.c_str(), kMode, 0, 0);
  FSOUND_SAMPLE* second = FSOUND_Sample_Load(3, path.c_str(), kMode, 0, 0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
}

TEST_F(SoundTest, NullHandlesDoNothing) {
  for (int round = 0; round < 2; ++round) {
    if (round == 1) openDummyDevice();
    EXPECT_EQ(FSOUND_PlaySound(1, nullptr), -1);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_Stream_SetLoopCount(nullptr, -1), 0);
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, nullptr), -1);
  }
  EXPECT_EQ(Mix_Playing(-1), 0);
  EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SoundTest, ChannelNumbers) {
  openDummyDevice(44100, 3);
  std::string path = pathOf("long.wav");
  ASSERT_TRUE(writeWav(path, levelWav(44100, 2, 5.0, 1000)));
  FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
  ASSERT_NE(sample, nullptr);

  // Outside the allocated channels nothing plays.
  EXPECT_EQ(FSOUND_PlaySound(3, sample), -1);
  EXPECT_EQ(FSOUND_PlaySound(-2, sample), -1);
  EXPECT_EQ(Mix_Playing(-1), 0);

  // A fixed channel played again keeps one sound on that channel.
  EXPECT_EQ(FSOUND_PlaySound(1, sample), 1);
  EXPECT_EQ(FSOUND_PlaySound(1, sample), 1);
  EXPECT_EQ(Mix_Playing(-1), 1);
  EXPECT_EQ(Mix_Playing(1), 1);

  // FSOUND_FREE takes the channels that are not playing, then finds none.
  int first = FSOUND_PlaySound(FSOUND_FREE, sample);
  int second = FSOUND_PlaySound(FSOUND_FREE, sample);
  EXPECT_NE(first, 1);
  EXPECT_NE(second, 1);
  EXPECT_NE(first, second);
  EXPECT_GE(first, 0);
  EXPECT_GE(second, 0);
  EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, sample), -1);
  EXPECT_EQ(Mix_Playing(-1), 3);

  // Music has its own channel, past the sample channels.
  FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), 3);
  EXPECT_EQ(FSOUND_Stream_Play(1, stream), 3);
  EXPECT_EQ(FSOUND_Stream_Play(-5, stream), -1);
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  EXPECT_EQ(FSOUND_Stream_SetLoopCount(stream, -1), 1);
}

TEST_F(SoundTest, HandlesOfAClosedDevicePlayNothing) {
  openDummyDevice();
  std::string path = pathOf("tone.wav");
  ASSERT_TRUE(writeWav(path, toneWav(44100, 2, 1.0, 440, 8000)));
  FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
  FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0);
  ASSERT_NE(sample, nullptr);
  ASSERT_NE(stream, nullptr);
  FSOUND_Close();
  EXPECT_EQ(FSOUND_PlaySound(1, sample), -1);
  EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
  openDummyDevice();
  EXPECT_EQ(FSOUND_PlaySound(1, sample), -1);
  EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), -1);
  EXPECT_EQ(Mix_Playing(-1), 0);
  EXPECT_EQ(Mix_PlayingMusic(), 0);
}

}  // namespace
