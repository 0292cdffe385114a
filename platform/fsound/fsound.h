// The FSOUND sound interface the game is written against, carried out over
// SDL2_mixer. Every operation on a null handle does nothing. All calls are
// made from one thread (the game's main thread).
#pragma once

struct FSOUND_SAMPLE;
struct FSOUND_STREAM;

#define FSOUND_FREE (-1)
#define FSOUND_LOOP_NORMAL 0x00000002
#define FSOUND_16BITS 0x00000010
#define FSOUND_MONO 0x00000020
#define FSOUND_SIGNED 0x00000100
#define FSOUND_2D 0x00002000

// Opens the audio device at the mix rate (Hz, exactly: the device converts if
// its hardware differs) with the given number of sample channels, numbered
// from 0. Flags are accepted and ignored. Returns 1 on success, 0 when no
// device could be opened or the arguments are out of range. While a device is
// open a further call changes nothing and returns 1.
signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);

// Stops every sound and closes the device. The game never calls it (its
// sounds end with the process); tests use it to start again. Handles stay
// allocated; those made for a closed device play nothing from then on.
void FSOUND_Close();

// Loads a whole WAV file, found through the case-insensitive lookup. The mode
// bits are accepted and ignored (the file's own header gives the format);
// every load makes a new handle whatever the index. A WAV that decodes gets a
// handle even with no open device; playing it then does nothing. Null when
// the file is missing, is not a regular file, is not a complete readable WAV,
// or when offset or length is not 0 (only whole files are loaded).
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                  int length);

// Opens a WAV file, found through the case-insensitive lookup, as music. It
// is decoded whole at once and played from memory, so nothing is read from
// disk while it plays. With FSOUND_LOOP_NORMAL in the mode it loops for ever
// unless a loop count is set. Null when no device is open, the file is
// missing or is not a complete readable WAV, or offset or length is not 0.
FSOUND_STREAM* FSOUND_Stream_Open(const char* name, unsigned int mode, int offset, int length);

// The number of times the stream repeats after its first play when next
// played: -1 (any negative count) loops for ever, 0 plays it once. Returns 1,
// or 0 for a null stream.
signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM* stream, int count);

// Starts the stream from its beginning. Music has one channel of its own,
// numbered just past the sample channels, whatever channel is asked for;
// starting a stream replaces the one playing. Returns that channel number,
// or -1 when nothing plays (null stream, no device, bad channel).
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);

// Plays a sample once on a channel: FSOUND_FREE picks a channel that is not
// playing; a fixed channel cuts what it was playing and starts the sample.
// Returns the channel used, or -1 when nothing plays (null sample, no device,
// channel out of range, no free channel).
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
