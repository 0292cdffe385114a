#include "model/model_table.h"

#include <cstdio>

Model_3DS ModelTable[10];

// The game's models, in the order they are loaded.
static const struct {
  int slot;
  const char* path;
} kModels[] = {
    {1, "data//Tolvar2//TolvarFight2_mini.3ds"},
    {4, "data//map//earth3.3DS"},
    {5, "data//Weapons//saber04.3DS"},
    {6, "data//Satellite//MRO.3ds"},
    {7, "data//map//mars.3DS"},
    {8, "data//map//pluton.3DS"},
};

const char* modelPath(int slot) {
  for (const auto& model : kModels) {
    if (model.slot == slot) return model.path;
  }
  return nullptr;
}

void loadModels() {
  for (const auto& model : kModels) {
    ModelTable[model.slot].load(model.path);
    printModelStats(model.slot);
  }
}

void printModelStats(int slot) {
  if (slot < 0 || slot >= 10) return;
  const Model_3DS& model = ModelTable[slot];
  printf("****************************\n");
  printf("modelname  : %15s\n", model.modelname ? model.modelname : "");
  printf("nb_obj     : %15i\n", model.nb_obj);
  printf("tot_verts  : %15i\n", model.tot_verts);
  printf("tot_faces  : %15i\n", model.tot_faces);
  printf("----------------------------\n");
  for (int o = 0; o < model.nb_obj; ++o) {
    printf("totalVerts : %15i\n", model.objects[o].vertexCount);
    printf("totalFaces : %15i\n", model.objects[o].faceIndexCount / 3);
  }
  printf("****************************\n");
}
