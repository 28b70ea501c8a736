#pragma once

#include <QRect>

// Where a control of a form sits, in pixels at the font the form was made
// for, and how it takes a larger font and a larger window (FontScaledLayout).
struct Placement {
    // How a control takes, along one axis, the room a larger window gives.
    enum class Stretch {
        Stays,   // keeps its place and size
        Grows,   // its far edge moves with the form's far edge
        Follows, // moves with the form's far edge, keeping its size
    };
    // How a control's content is fitted into its scaled place.
    enum class Fit {
        Exact,     // the place as it is
        GrowsLeft, // a right-aligned one-line text: wider to the left when its text needs it
        Wraps,     // a text that wraps: taller, about its middle, when its width needs more lines
        Line,      // a rule: its thickness stays as described
    };

    QRect place; // in the parent
    Stretch horizontal = Stretch::Stays;
    Stretch vertical = Stretch::Stays;
    Fit fit = Fit::Exact;
};
