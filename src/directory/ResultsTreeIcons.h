#pragma once

#include <QImage>

// The five 16 x 16 pictures of the results tree, painted here on a
// transparent background. The indices are those of the tree's nodes.
namespace ResultsTreeIcons {

enum Index {
    Organisation = 0, // three small balls: green, blue, red
    Email = 1,        // an open envelope with an at sign
    Web = 2,          // a globe circled by a ring
    Phone = 3,        // a telephone keypad with a green display
    Address = 4,      // a folded map sheet
};
constexpr int kCount = 5;
constexpr int kSize = 16;

QImage Image(int index);

} // namespace ResultsTreeIcons
