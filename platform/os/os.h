// What the game needs from the operating system, in one place: a millisecond
// clock, frame pacing, a modal message box, the console clear and file-name
// lookup that ignores case. Game code reaches the system only through these.
// Paths are UTF-8 on Windows too, as SDL takes them: they reach the system
// through its wide-character calls, so a user name outside the ANSI code page
// names its folders right.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#ifdef _WIN32
// Windows declares a timeGetTime of its own (mmsystem.h, which GL/gl.h
// brings in). This header takes that declaration in first, then names the
// game's clock below under another symbol, so callers of timeGetTime reach
// the clock that setClockSource can replace.
#include "platform/os/clock_name_win32.h"
#endif

// Milliseconds from the monotonic clock (monotonicNanoseconds), as an
// unsigned 32-bit number that wraps around like the Windows multimedia timer
// the game was written against.
uint32_t timeGetTime();

// Replaces the clock behind timeGetTime, so tests can run frames with chosen
// time steps; null puts the steady clock back.
void setClockSource(uint32_t (*source)());

// Nanoseconds from the monotonic clock, the one frames are paced by:
// CLOCK_MONOTONIC on POSIX systems, QueryPerformanceCounter on Windows.
int64_t monotonicNanoseconds();

// Frames on the display's rhythm. A driver may make a frame wait for the
// vertical blank inside its buffer swap, or return from the swap at once and
// make the next frame's first drawing call wait for a free buffer; either
// way the time between whole frames, not the swap's own length, shows
// whether the display paces them. Frames are timed by that rhythm: by the
// display's refresh count where it offers one, else by snapping the time
// between frames to a whole number of refresh periods, so that a frame's
// game time steps as the frames shown do.
struct FramePacer {
  int64_t periodNs;    // the display's refresh period
  int64_t deadlineNs;  // the last sleep's deadline; 0 before the first
  bool displayPaces = false;  // the display holds frames to its refresh: no sleep needed
  int64_t frameStartNs = 0;   // when the current frame started; 0 before the first
  int64_t frameTimeNs = 0;    // the current frame's time on the display's rhythm
  int64_t refreshCount = -1;  // the display's refresh count at the frame's start; -1 unknown
  int64_t drawnNs = 0;        // when the current frame had drawn all, before any sleep
  int64_t sleptNs = 0;        // how long the current frame slept before its swap
};

// How far from a whole number of refresh periods the time between two frames
// may be and still count as that whole number when judging whether the
// display paces them: an eighth of a period.
int64_t rhythmTolerance(int64_t periodNs);

// Starts a frame measured at `nowNs`, once the frame's first drawing call has
// returned. `refreshCount` is the display's count of refreshes then, or -1
// where it offers none. Judges the previous frame first: one that came less
// than three quarters of a period after the one before it, without sleeping,
// shows that the display does not pace frames; one that came a whole number
// of periods (within tolerance) after it and waited more than a quarter
// period beyond its own drawing and sleep shows that it does. Returns the
// frame's time: the last frame's plus the refreshes between them, as the
// count says while the clock agrees within half a period, or, without a
// count, while the display or the pacer's sleep paces frames, the nearest
// whole number of periods (at least one) to the time measured; else `nowNs`
// itself. So the times never drift from the clock by more than half a
// period. The first frame's time is `nowNs`.
int64_t startFrame(FramePacer& pacer, int64_t nowNs, int64_t refreshCount);

// Forgets the last frame, as after a hidden window: the next frame is judged
// against nothing and timed by the clock alone.
void restartFrames(FramePacer& pacer);

// The deadline of the frame after the one due at `lastDeadlineNs`: one period
// later, or `nowNs` when that has passed already. A frame that ran late
// thus moves the following deadlines, so the time lost is not made up by a
// burst of short frames, and no frame starts less than a period after the
// deadline of the one before. The first frame (last deadline 0) starts at
// once.
int64_t nextFrameDeadline(int64_t lastDeadlineNs, int64_t nowNs, int64_t periodNs);

// Sleeps until the next frame's deadline and records it, and how long the
// frame slept, in `pacer`. True when it slept: the deadline had not passed
// yet. The sleep is not rounded up to the system's timer tick (15.6 ms by
// default on Windows).
bool waitForFrame(FramePacer& pacer);

// Flushes standard output, then shows a modal box with one OK button, the
// caption as its title and the text as its body (MessageBoxA with no owner on
// Windows, SDL's box elsewhere), and returns once the user has closed it;
// then ends the process with status 0 when exitAfter is true. With no
// display to show it on, the caption and the text go to standard error
// instead.
void showMessage(bool exitAfter, const char* caption, const char* text);

// Clears the console with its scrollback and puts the cursor at its top-left
// corner, but only when standard output is a terminal (a console on
// Windows): a log or a pipe is left readable. Starts no process, and what
// was printed before the call stays before the clear.
void clearConsole();

// The path of an existing file named by `path`, looked up as written first,
// then folder by folder ignoring case (data files mix "data" and "Data", and
// 3DS files name their textures in upper case). Empty folder names, as in
// "data//map//earth3.3DS", are kept as written. Returns `path` unchanged when
// nothing matches, so the caller's open fails as it would have.
std::string findFile(const std::string& path);

// fopen through findFile, for regular files only: a FIFO, a device or a
// folder at the path gives null as a missing file does (opening a FIFO would
// wait for a writer, reading a device may never end). Modes "r", "w" and "a",
// with "b" and "+", as fopen takes them; "w" empties the file only once it is
// known to be a regular one. A file that "w" or "a" creates gets its name as
// written, in its folders as findFile finds them.
FILE* openFile(const char* path, const char* mode);

// Writes `size` bytes as the whole content of the file named by `path` (its
// folders found as openFile finds them): into a new temporary file in the
// same folder, then renamed over the name. Readers, and other processes
// writing the same file, see the old file or a whole new one, never a part;
// a process killed while writing leaves only its temporary file, whose name
// is the file's followed by ".tmp.<process id>.<n>". False, with the
// temporary file removed, when any step fails.
bool replaceFile(const char* path, const void* data, size_t size);

// The user's cache folder of the game: "$XDG_CACHE_HOME/vekotra", or
// "$HOME/.cache/vekotra" when XDG_CACHE_HOME is unset, empty or not absolute
// (the XDG base directory rules); the password database's home folder when
// HOME is unset too. On Windows "%LOCALAPPDATA%\Vekotra", the system's
// known local application-data folder when the variable is unset, empty or
// not absolute. Empty when no absolute folder can be named. The folder
// itself may not exist yet.
std::string cacheFolder();

// The user's configuration folder of the game, by the same rules:
// "$XDG_CONFIG_HOME/vekotra", else "$HOME/.config/vekotra"; on Windows
// "%APPDATA%\Vekotra", else the known roaming application-data folder's.
std::string configFolder();

// Creates every missing folder before the last '/' of `path` (mkdir -p of
// its folder part; '\' separates folders too on Windows), new ones
// readable by the user only, as caches are (on Windows they inherit the
// user's folder's permissions). True when that folder exists afterwards.
bool makeParentFolders(const std::string& path);

// Makes the folder holding the game's data the working directory, where
// every data path is looked up: when there is no "data" folder in the
// working directory but there is one beside the executable, changes into
// the executable's folder (a game started from a shortcut or another
// folder). True when it changed the working directory. On Linux it changes
// nothing: the launcher starts the game in its data folder.
bool enterDataFolder();
