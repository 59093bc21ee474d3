#pragma once

#include <QSize>

// How large the main window must be. At the default font it has its designed size (the control panel's
// height and a little, and a minimum width); where a larger font or scale makes its columns need more,
// it grows to what they need, and never beyond the screen: where the screen is smaller, the columns
// scroll instead.
class WindowFit final {
public:
    struct Input {
        QSize needed;                 // what the window's columns need to show whole, its bars included
        bool panelAlone = false;      // the settings float in a window of their own, or are closed
        int designedHeight = 0;       // the window's height at the default font
        int designedMinimumWidth = 0; // its smallest width with the settings beside the panel
        int maximumWidth = 0;         // its largest width with the settings beside the panel
        QSize available;              // the screen's room for the window, without its frame
    };

    struct Result {
        int height = 0; // fixed: the window is as high as its columns
        int minimumWidth = 0;
        int maximumWidth = 0;
        bool scroll = false; // the screen is smaller than the columns need: they scroll
    };

    static Result compute(const Input& input);
};
