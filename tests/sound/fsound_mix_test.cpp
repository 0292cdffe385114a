// What the FSOUND layer puts into the mix, captured through SDL's disk audio
// driver: music from its start and looping, samples added to it, a fixed
// channel replacing its sound, free channels adding theirs.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/fsound/fsound.h"
#include "tests/sound/capture.h"
#include "tests/sound/sound_fixture.h"
#include "tests/sound/wav_writer.h"

namespace {

const int kRate = 44100;
const unsigned kMode = 8496;

// Frames of a duration at the mix rate.
size_t framesOf(double seconds) { return static_cast<size_t>(seconds * kRate); }

class MixTest : public SoundTest {
 protected:
  FSOUND_STREAM* openMusic(double seconds, int amplitude, unsigned mode = FSOUND_LOOP_NORMAL) {
    std::string path = pathOf("music.wav");
    EXPECT_TRUE(writeWav(path, toneWav(kRate, 2, seconds, 440, amplitude)));
    return FSOUND_Stream_Open(path.c_str(), mode, 0, 0);
  }

  FSOUND_SAMPLE* loadLevel(const std::string& name, double seconds, int value) {
    std::string path = pathOf(name);
    EXPECT_TRUE(writeWav(path, levelWav(kRate, 2, seconds, value)));
    return FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), kMode, 0, 0);
  }

  // Waits until some captured sample equals `value`.
  bool waitForValue(int value) {
    return waitForCapture(capture, [value](const std::vector<int16_t>& c) {
      for (int16_t s : c) {
        if (s == value) return true;
      }
      return false;
    });
  }

  // Plays the music and returns the capture from its first sound on, at
  // least `seconds` long.
  std::vector<int16_t> captureMusic(FSOUND_STREAM* music, double seconds) {
    EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, music), 32);
    EXPECT_TRUE(waitForCapture(capture, [seconds](const std::vector<int16_t>& c) {
      return heardFor(c, framesOf(seconds));
    }));
    FSOUND_Close();
    std::vector<int16_t> all = readCapture(capture);
    long start = firstFrameAbove(all, 0);
    if (start < 0) return {};
    return std::vector<int16_t>(all.begin() + start * 2, all.end());
  }

  // True when every 20 ms window of [from, to) seconds has a tone of about
  // `amplitude` (its RMS is amplitude / sqrt 2).
  static bool soundsThroughout(const std::vector<int16_t>& c, double from, double to,
                               int amplitude, std::string* where) {
    for (double t = from; t + 0.02 <= to; t += 0.02) {
      double rms = rmsOf(c, framesOf(t), framesOf(0.02));
      if (rms < amplitude * 0.5) {
        *where = "silent at " + std::to_string(t) + " s (rms " + std::to_string(rms) + ")";
        return false;
      }
    }
    return true;
  }
};

TEST_F(MixTest, MusicSoundsFromItsStartAndLoopsForEver) {
  openDiskDevice();
  FSOUND_STREAM* music = openMusic(0.5, 8000);
  ASSERT_NE(music, nullptr);
  ASSERT_EQ(FSOUND_Stream_SetLoopCount(music, -1), 1);
  std::vector<int16_t> c = captureMusic(music, 2.0);
  std::string where;
  // Half a second of music, heard for two seconds: four times round.
  EXPECT_TRUE(soundsThroughout(c, 0.0, 2.0, 8000, &where)) << where;
  // The music itself, not some other sound: at most the tone's amplitude.
  EXPECT_LE(peakOf(c, 0, framesOf(2.0)), 8000);
}

TEST_F(MixTest, LoopModeAloneLoops) {
  openDiskDevice();
  FSOUND_STREAM* music = openMusic(0.5, 8000);
  ASSERT_NE(music, nullptr);
  std::vector<int16_t> c = captureMusic(music, 1.6);
  std::string where;
  EXPECT_TRUE(soundsThroughout(c, 0.0, 1.6, 8000, &where)) << where;
}

TEST_F(MixTest, LoopCountCountsRepeats) {
  openDiskDevice();
  FSOUND_STREAM* music = openMusic(0.5, 8000);
  ASSERT_NE(music, nullptr);
  ASSERT_EQ(FSOUND_Stream_SetLoopCount(music, 1), 1);
  std::vector<int16_t> c = captureMusic(music, 1.5);
  std::string where;
  // Played twice, then silent.
  EXPECT_TRUE(soundsThroughout(c, 0.0, 0.98, 8000, &where)) << where;
  EXPECT_EQ(peakOf(c, framesOf(1.02), framesOf(1.5)), 0);
}

TEST_F(MixTest, MusicWithoutLoopPlaysOnce) {
  openDiskDevice();
  FSOUND_STREAM* music = openMusic(0.5, 8000, 0);
  ASSERT_NE(music, nullptr);
  std::vector<int16_t> c = captureMusic(music, 1.2);
  std::string where;
  EXPECT_TRUE(soundsThroughout(c, 0.0, 0.48, 8000, &where)) << where;
  EXPECT_EQ(peakOf(c, framesOf(0.52), framesOf(1.2)), 0);
}

TEST_F(MixTest, SampleComesOutExactly) {
  openDiskDevice();
  // A pattern no two neighbouring frames share, different on each side.
  WavData wav;
  wav.rate = kRate;
  for (int i = 0; i < 4000; ++i) {
    wav.samples.push_back(static_cast<int16_t>(1000 + (i * 37) % 20000));
    wav.samples.push_back(static_cast<int16_t>(-1000 - (i * 53) % 20000));
  }
  ASSERT_TRUE(writeWav(pathOf("pattern.wav"), wav));
  FSOUND_SAMPLE* sample =
      FSOUND_Sample_Load(FSOUND_FREE, pathOf("pattern.wav").c_str(), kMode, 0, 0);
  ASSERT_NE(sample, nullptr);
  ASSERT_TRUE(waitForFrames(capture, 2048));
  EXPECT_EQ(FSOUND_PlaySound(1, sample), 1);
  ASSERT_TRUE(waitForCapture(capture, [](const std::vector<int16_t>& c) {
    return heardFor(c, 4000 + 1024);
  }));
  FSOUND_Close();
  std::vector<int16_t> c = readCapture(capture);
  long start = firstFrameAbove(c, 0);
  ASSERT_GE(start, 2048) << "sound before the sample was played";
  for (size_t i = 0; i < wav.samples.size(); ++i) {
    ASSERT_EQ(c[start * 2 + i], wav.samples[i]) << "sample " << i;
  }
  // Played once: silence after it.
  EXPECT_EQ(peakOf(c, start + 4000, c.size() / 2), 0);
}

TEST_F(MixTest, PlayingASampleAddsItToTheMusic) {
  openDiskDevice();
  FSOUND_STREAM* music = openMusic(0.5, 4000);
  FSOUND_SAMPLE* effect = loadLevel("effect.wav", 0.2, 20000);
  ASSERT_NE(music, nullptr);
  ASSERT_NE(effect, nullptr);
  ASSERT_EQ(FSOUND_Stream_Play(FSOUND_FREE, music), 32);
  ASSERT_TRUE(waitForCapture(capture, [](const std::vector<int16_t>& c) {
    return heardFor(c, framesOf(0.3));
  }));
  size_t before = readCapture(capture).size() / 2;
  EXPECT_EQ(FSOUND_PlaySound(1, effect), 1);
  ASSERT_TRUE(waitForFrames(capture, before + framesOf(0.6)));
  FSOUND_Close();
  std::vector<int16_t> c = readCapture(capture);

  EXPECT_LE(peakOf(c, 0, before), 4000) << "the effect sounded before it was played";
  // Where the effect sounds, the music goes on under it: 20000 plus a tone
  // of 4000 gives every value from 16000 to 24000 (clipped at 32767).
  size_t loud = 0;
  int lowest = 32767;
  for (size_t i = before * 2; i < c.size(); ++i) {
    if (c[i] > 12000) {
      ++loud;
      lowest = std::min<int>(lowest, c[i]);
    }
  }
  EXPECT_NEAR(static_cast<double>(loud), 2.0 * framesOf(0.2), 8.0);
  EXPECT_LE(lowest, 16100);
  EXPECT_GE(peakOf(c, before, c.size() / 2), 23900);
}

TEST_F(MixTest, AFixedChannelReplacesItsSound) {
  openDiskDevice();
  FSOUND_SAMPLE* first = loadLevel("first.wav", 5.0, 1000);
  FSOUND_SAMPLE* second = loadLevel("second.wav", 0.3, 3000);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(FSOUND_PlaySound(1, first), 1);
  ASSERT_TRUE(waitForValue(1000));
  EXPECT_EQ(FSOUND_PlaySound(1, second), 1);
  ASSERT_TRUE(waitForValue(3000));
  size_t heard = readCapture(capture).size() / 2;
  ASSERT_TRUE(waitForFrames(capture, heard + framesOf(0.5)));
  FSOUND_Close();
  std::vector<int16_t> c = readCapture(capture);

  long cut = -1;
  for (size_t i = 0; i < c.size(); ++i) {
    ASSERT_TRUE(c[i] == 0 || c[i] == 1000 || c[i] == 3000)
        << "value " << c[i] << " at frame " << i / 2 << ": the sounds were mixed together";
    if (cut < 0 && c[i] == 3000) cut = static_cast<long>(i / 2);
  }
  ASSERT_GE(cut, 0);
  // The first sound is cut for good: after the second, only silence.
  for (size_t i = cut * 2; i < c.size(); ++i) {
    ASSERT_NE(c[i], 1000) << "the first sound came back at frame " << i / 2;
  }
  EXPECT_EQ(peakOf(c, cut + framesOf(0.3), c.size() / 2), 0);
}

TEST_F(MixTest, FreeChannelsAddTheirSounds) {
  openDiskDevice();
  FSOUND_SAMPLE* first = loadLevel("first.wav", 5.0, 1000);
  FSOUND_SAMPLE* second = loadLevel("second.wav", 0.3, 3000);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  int a = FSOUND_PlaySound(FSOUND_FREE, first);
  ASSERT_TRUE(waitForValue(1000));
  int b = FSOUND_PlaySound(FSOUND_FREE, second);
  EXPECT_GE(a, 0);
  EXPECT_GE(b, 0);
  EXPECT_NE(a, b);
  ASSERT_TRUE(waitForValue(4000));
  // The same sample twice on free channels adds up too.
  int c = FSOUND_PlaySound(FSOUND_FREE, first);
  EXPECT_NE(c, a);
  EXPECT_TRUE(waitForValue(2000) || waitForValue(5000));
}

}  // namespace
