#include "results/TextGrid.h"
