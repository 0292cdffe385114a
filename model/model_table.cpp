#include "model/model_table.h"

void loadModels() {}
