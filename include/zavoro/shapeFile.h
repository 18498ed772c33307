// Shapefile sets: the coverage of every map written as .shp/.shx/.dbf (with a .prj), and the reading
// of a recommendation set (and of our own coverage sets) for the map viewer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zavoro/conversor.h"
#include "zavoro/tipos.h"

// ---------------------------------------------------------------------------------------------------
// Writing the coverage set
// ---------------------------------------------------------------------------------------------------

// ---------------------------------------------------------------------------------------------------
// Reading sets for display
// ---------------------------------------------------------------------------------------------------
