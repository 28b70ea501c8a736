#pragma once

#include "ShopRecord.h"

#include <vector>

// One shop written: its undo writes `before` back, its redo `after` again.
struct ShopWrite {
    int index = 0;
    rom::ShopRecord before;
    rom::ShopRecord after;
};

// One step of the history: a shop saved, or every shop an import changed.
using ShopChange = std::vector<ShopWrite>;
