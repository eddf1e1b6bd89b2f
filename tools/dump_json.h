// The aquarium state as JSON: every member and every record field under its
// own name, colours as integers, floats with nine significant digits.
#pragma once

#include <string>

#include "sim/aquarium.h"

std::string AquariumToJson(const Aquarium& aquarium, int width, int height);
