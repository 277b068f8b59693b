#pragma once

#include <QFont>

// The windows' small sans font at a pixel height, with metrics close to the ones the
// layouts were drawn with, so fixed-size controls hold their texts.
QFont designFont(int pixelSize, bool bold = false);
