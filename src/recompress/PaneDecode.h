#pragma once

class TJPEGImage;

// Decodes a JPEG picture with the options every new picture starts with, the ones a pane's
// own copy would decode with: copies made afterwards share the decoded pixels instead of
// decoding the same bytes again.
void decodeForPanes(TJPEGImage& jpeg);
