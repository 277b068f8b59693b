#pragma once

#include <QFont>

// The windows' small sans font at a pixel height, with metrics close to the ones the
// layouts were drawn with, so fixed-size controls hold their texts.
QFont designFont(int pixelSize, bool bold = false);

// The height of a line of text in `font` as the layouts count it: 13 pixels at size 11 and
// 16 at size 13, the room the labels above the panes are placed by.
int designLineHeight(const QFont& font);
