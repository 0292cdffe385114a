// The FSOUND sound interface the game is written against, carried out over
// SDL2_mixer. Every operation on a null handle does nothing.
#pragma once

struct FSOUND_SAMPLE;
struct FSOUND_STREAM;

#define FSOUND_FREE (-1)
#define FSOUND_LOOP_NORMAL 0x00000002
#define FSOUND_16BITS 0x00000010
#define FSOUND_MONO 0x00000020
#define FSOUND_SIGNED 0x00000100
#define FSOUND_2D 0x00002000

// Opens the audio device at the mix rate with the given number of channels.
// Returns 1 on success, 0 when no device could be opened.
signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);
// Loads a whole WAV file. Null when the file is missing or not a readable WAV.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                  int length);
// Opens a file to be streamed as music. Null when it cannot be read.
FSOUND_STREAM* FSOUND_Stream_Open(const char* name, unsigned int mode, int offset, int length);
// -1 loops for ever.
signed char FSOUND_Stream_SetLoopCount(FSOUND_STREAM* stream, int count);
// Returns the channel used, or -1.
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
// Plays a sample on a channel (FSOUND_FREE picks a free one; a fixed channel
// cuts what it was playing). Returns the channel used, or -1.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
