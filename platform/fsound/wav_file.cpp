#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/fsound/fsound_internal.h"
#include "platform/os/os.h"

static int descriptorOf(SDL_RWops* rw) {
  return static_cast<int>(reinterpret_cast<intptr_t>(rw->hidden.unknown.data1));
}

static Sint64 SDLCALL fdSize(SDL_RWops* rw) {
  struct stat info;
  if (fstat(descriptorOf(rw), &info) != 0) return SDL_SetError("fstat: %s", strerror(errno));
  return info.st_size;
}

static Sint64 SDLCALL fdSeek(SDL_RWops* rw, Sint64 offset, int whence) {
  int how = whence == RW_SEEK_SET ? SEEK_SET : whence == RW_SEEK_CUR ? SEEK_CUR : SEEK_END;
  off_t at = lseek(descriptorOf(rw), static_cast<off_t>(offset), how);
  if (at < 0) return SDL_SetError("lseek: %s", strerror(errno));
  return at;
}

// Reads whole objects, as stdio's fread would: a short read at the end of the
// file returns the objects complete so far.
static size_t SDLCALL fdRead(SDL_RWops* rw, void* buffer, size_t size, size_t count) {
  if (size == 0 || count == 0) return 0;
  if (count > SIZE_MAX / size) return 0;
  size_t wanted = size * count, got = 0;
  char* out = static_cast<char*>(buffer);
  while (got < wanted) {
    ssize_t n = read(descriptorOf(rw), out + got, wanted - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  // Keep the position at a whole object, as the caller expects.
  size_t whole = got / size;
  if (got % size != 0) lseek(descriptorOf(rw), -static_cast<off_t>(got % size), SEEK_CUR);
  return whole;
}

static size_t SDLCALL fdWrite(SDL_RWops*, const void*, size_t, size_t) {
  SDL_SetError("sound files are read only");
  return 0;
}

static int SDLCALL fdClose(SDL_RWops* rw) {
  int status = close(descriptorOf(rw));
  SDL_FreeRW(rw);
  return status;
}

static bool hasWavHeader(int fd) {
  unsigned char header[12];
  size_t got = 0;
  while (got < sizeof header) {
    ssize_t n = read(fd, header + got, sizeof header - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  return memcmp(header, "RIFF", 4) == 0 && memcmp(header + 8, "WAVE", 4) == 0 &&
         lseek(fd, 0, SEEK_SET) == 0;
}

SDL_RWops* openWavFile(const char* name) {
  if (!name) return nullptr;
  std::string path = findFile(name);
  // Checked before opening: opening a FIFO would wait for a writer.
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !hasWavHeader(fd)) {
    close(fd);
    return nullptr;
  }
  SDL_RWops* rw = SDL_AllocRW();
  if (!rw) {
    close(fd);
    return nullptr;
  }
  rw->type = SDL_RWOPS_UNKNOWN;
  rw->size = fdSize;
  rw->seek = fdSeek;
  rw->read = fdRead;
  rw->write = fdWrite;
  rw->close = fdClose;
  rw->hidden.unknown.data1 = reinterpret_cast<void*>(static_cast<intptr_t>(fd));
  return rw;
}

void refuseTruncatedWavs() {
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
}

bool decodeWav(SDL_RWops* rw, SDL_AudioSpec* audioFormat, Uint8** data, Uint32* length) {
  refuseTruncatedWavs();
  *data = nullptr;
  *length = 0;
  return SDL_LoadWAV_RW(rw, 1, audioFormat, data, length) != nullptr;
}
