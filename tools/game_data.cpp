#include "tools/game_data.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/icon.h"
#include "tools/models.h"
#include "tools/sounds.h"
#include "tools/textures.h"

namespace {

DataFile model(const char* path, const TdsModel& tds) {
  std::string error;
  std::vector<uint8_t> bytes = writeTds(tds, &error);
  if (bytes.empty()) {
    // The models are built in code: a model the writer refuses is a bug here.
    fprintf(stderr, "%s: %s\n", path, error.c_str());
  }
  return DataFile{path, bytes};
}

bool sameContents(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return old == bytes;
}

}  // namespace

std::string modelCounts() {
  struct Entry {
    const char* path;
    TdsModel model;
  };
  const Entry entries[] = {
      {"data//Tolvar2//TolvarFight2_mini.3ds", makeFighter()},
      {"data//map//earth3.3DS", makePlanet()},
      {"data//Weapons//saber04.3DS", makeMissile()},
      {"data//Satellite//MRO.3ds", makeSatellite()},
      {"data//map//mars.3DS", makeMars()},
      {"data//map//pluton.3DS", makePluto()},
  };
  std::string out;
  for (const Entry& e : entries) {
    size_t verts = 0, faces = 0;
    std::string objects;
    for (const TdsObject& o : e.model.objects) {
      verts += o.vertices.size() / 3;
      faces += o.faces.size() / 3;
      objects += " " + std::to_string(o.vertices.size() / 3) + " " + std::to_string(o.faces.size() / 3);
    }
    out += std::string(e.path) + " " + std::to_string(e.model.objects.size()) + " " + std::to_string(verts) +
           " " + std::to_string(faces) + objects + "\n";
  }
  return out;
}

std::vector<DataFile> makeGameData() {
  std::vector<DataFile> files;
  files.push_back(model("data/Tolvar2/TolvarFight2_mini.3ds", makeFighter()));
  files.push_back(model("data/map/earth3.3DS", makePlanet()));
  files.push_back(model("data/Weapons/saber04.3DS", makeMissile()));
  files.push_back(model("data/Satellite/MRO.3ds", makeSatellite()));
  files.push_back(model("data/map/mars.3DS", makeMars()));
  files.push_back(model("data/map/pluton.3DS", makePluto()));
  files.push_back(DataFile{"data/map/earth3.bmp", encodeBmp(paintEarth(256, 128))});
  files.push_back(DataFile{"data/map/mars.bmp", encodeBmp(paintMars(128, 64))});
  files.push_back(DataFile{"data/map/pluton.bmp", encodeBmp(paintPluto(128, 64))});
  files.push_back(DataFile{"Data/Les_Sons/Burglar.wav", encodeWav(makeAlarm(), kSoundRate)});
  files.push_back(DataFile{"Data/Les_Sons/missle.wav", encodeWav(makeMissileWhoosh(), kSoundRate)});
  files.push_back(DataFile{"Data/Les_Sons/vekotra.wav", encodeWav(makeMusic(), kSoundRate)});
  // The window's own icon, which the game hands the desktop at start-up.
  for (int size : {16, 32, 48, 128}) {
    files.push_back(DataFile{"data/icons/vekotra_" + std::to_string(size) + ".png", encodePng(paintIcon(size))});
  }
  return files;
}

std::vector<DataFile> makeIcons() {
  std::vector<DataFile> files;
  for (int size : {48, 128, 256}) {
    std::string folder = std::to_string(size) + "x" + std::to_string(size);
    files.push_back(DataFile{"hicolor/" + folder + "/apps/vekotra.png", encodePng(paintIcon(size))});
  }
  return files;
}

DataFile makeWindowsIcon() {
  std::vector<RgbaImage> images;
  for (int size : {16, 24, 32, 48, 256}) images.push_back(paintIcon(size));
  return DataFile{"vekotra.ico", encodeIco(images)};
}

bool writeGameData(const std::string& directory, std::string* error) {
  return writeDataFiles(directory, makeGameData(), error);
}

bool writeDataFiles(const std::string& directory, const std::vector<DataFile>& files, std::string* error) {
  for (const DataFile& file : files) {
    if (file.bytes.empty()) {
      *error = file.path + ": nothing to write";
      return false;
    }
    std::filesystem::path target = std::filesystem::path(directory) / file.path;
    std::error_code code;
    std::filesystem::create_directories(target.parent_path(), code);
    if (code) {
      *error = target.parent_path().string() + ": " + code.message();
      return false;
    }
    if (sameContents(target, file.bytes)) continue;
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) {
      *error = target.string() + ": cannot be written";
      return false;
    }
  }
  return true;
}
