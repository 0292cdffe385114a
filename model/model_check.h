// The promises a loaded model keeps whatever file it came from, checked one
// by one: for the tests and the fuzz target of the reader.
#pragma once

#include <string>

#include "model/model_3ds.h"

// True when every count is consistent with its array (null exactly when the
// count is 0), every face and group index is below its object's vertexCount,
// every group's material is -1 or a material of the model, every object has at
// least vertexCount texture-coordinate pairs, the totals add up, and every
// name is zero-terminated within its 80 bytes. Otherwise false, with the first
// broken promise described in *problem when problem is not null.
bool checkModel(const Model_3DS& model, std::string* problem = nullptr);
