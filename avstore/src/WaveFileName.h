// Classifies file names by extension: a wave file ends in ".wav" in any letter case.
#pragma once

namespace avstore {

// True when the last path component has a dot and the text after its last dot is "wav"
// regardless of case. A null path is not a wave file name.
bool isWaveFileName(const char *path);

}  // namespace avstore
