// The picture formatter: stored field text to display text and back, for pictures "@D", "@L",
// "@S", "@N", "@R" and "@0".
#pragma once

enum PictureDirection {
    kPictureDisplay,  // stored text -> what the grid, the editor and the printers show
    kPictureStore,    // what the user typed -> stored text
};

// Size of the result buffer formatPicture writes into; results are cut to 132 characters.
constexpr int kPictureResultSize = 133;

// Formats `text` with `picture` in the given direction into `result` (kPictureResultSize bytes,
// always terminated). Any picture and text length is safe. Returns result.
char* formatPicture(const char* text, const char* picture, PictureDirection direction, char* result);
