// The game's sound start-up: its console messages, its handles and the music,
// run in a temporary working directory.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/fsound/fsound_internal.h"
#include "sound/sound.h"
#include "tests/sound/capture.h"
#include "tests/sound/sound_fixture.h"
#include "tests/sound/wav_writer.h"

namespace {

class InitSoundTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    previousDir = buffer;
    ASSERT_EQ(chdir(dir.c_str()), 0);
    alarmSample = missileSample = nullptr;
    musicStream = nullptr;
  }

  void TearDown() override {
    EXPECT_EQ(chdir(previousDir.c_str()), 0);
    SoundTest::TearDown();
  }

  // Writes the three sound files under the folder names given.
  void writeSounds(const std::string& data, const std::string& sounds, bool withMissile = true) {
    ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
    std::string folder = data + "/" + sounds;
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_TRUE(writeWav(folder + "/Burglar.wav", toneWav(44100, 1, 0.3, 880, 8000)));
    if (withMissile) {
      ASSERT_TRUE(writeWav(folder + "/missle.wav", levelWav(44100, 1, 0.2, 20000)));
    }
    ASSERT_TRUE(writeWav(folder + "/vekotra.wav", toneWav(44100, 2, 0.5, 440, 4000)));
  }

  // Runs initSound and returns what it printed.
  static std::string runInitSound() {
    ::testing::internal::CaptureStdout();
    initSound();
    return ::testing::internal::GetCapturedStdout();
  }

  std::string previousDir;
};

TEST_F(InitSoundTest, SoundFolderAbsentPrintsTwoErrorsOnOneLine) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(runInitSound(), "sound errorsound error");
  EXPECT_EQ(alarmSample, nullptr);
  EXPECT_EQ(missileSample, nullptr);
  EXPECT_EQ(musicStream, nullptr);
  EXPECT_EQ(Mix_PlayingMusic(), 0);
  // The library did start; later plays of the null handles are silent.
  EXPECT_EQ(Mix_AllocateChannels(-1), 32);
  EXPECT_EQ(FSOUND_PlaySound(1, missileSample), -1);
  EXPECT_EQ(FSOUND_PlaySound(1, alarmSample), -1);
  EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(InitSoundTest, NoDeviceAndNoFolderPrintsEveryMessage) {
  useMissingDriver();
  EXPECT_EQ(runInitSound(), "Erreursound errorsound error");
}

TEST_F(InitSoundTest, NoDeviceStillLoadsTheSamples) {
  useMissingDriver();
  writeSounds("Data", "Les_Sons");
  EXPECT_EQ(runInitSound(), "Erreur");
  EXPECT_NE(alarmSample, nullptr);
  EXPECT_NE(missileSample, nullptr);
  EXPECT_EQ(musicStream, nullptr);
  EXPECT_EQ(FSOUND_PlaySound(1, missileSample), -1);
}

TEST_F(InitSoundTest, OneMissingSampleIsReportedOnce) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  writeSounds("Data", "Les_Sons", false);
  EXPECT_EQ(runInitSound(), "sound error");
  EXPECT_NE(alarmSample, nullptr);
  EXPECT_EQ(missileSample, nullptr);
  EXPECT_NE(musicStream, nullptr);
}

TEST_F(InitSoundTest, FilesAreFoundWhateverTheirFoldersCase) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  writeSounds("data", "les_sons");
  EXPECT_EQ(runInitSound(), "");
  EXPECT_NE(alarmSample, nullptr);
  EXPECT_NE(missileSample, nullptr);
  EXPECT_NE(musicStream, nullptr);
}

TEST_F(InitSoundTest, StartsTheMusicLoopingAndTheEffectsPlayOnChannelOne) {
  writeSounds("Data", "Les_Sons");
  openDiskDevice();  // initSound's own start then finds the device open
  EXPECT_EQ(runInitSound(), "");
  ASSERT_NE(musicStream, nullptr);
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  // The music, half a second long, still sounds after three times its length.
  ASSERT_TRUE(waitForCapture(capture, [](const std::vector<int16_t>& c) {
    return heardFor(c, 66150);
  }));
  std::vector<int16_t> c = readCapture(capture);
  long start = firstFrameAbove(c, 0);
  EXPECT_GT(rmsOf(c, start + 60000, 4410), 2000);
  EXPECT_LE(peakOf(c, 0, c.size() / 2), 4000);

  EXPECT_EQ(FSOUND_PlaySound(1, missileSample), 1);
  EXPECT_EQ(FSOUND_PlaySound(1, alarmSample), 1);
  EXPECT_EQ(Mix_Playing(-1), 1);
}

// The game ends with exit() from wherever it is, sounds still playing and
// nothing closed: the process must end cleanly all the same.
TEST_F(InitSoundTest, ExitWhilePlayingIsClean) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  writeSounds("Data", "Les_Sons");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "1", 1);
  EXPECT_EXIT(
      {
        initSound();
        FSOUND_PlaySound(1, missileSample);
        waitForFrames(capture, 44100);
        exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
