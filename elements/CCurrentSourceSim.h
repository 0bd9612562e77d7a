#pragma once

#include "CVoltageSourceSim.h"
