#pragma once

namespace tallowmere::bench {

// Scans 5,000 small JPEGs (each with an EXIF original date) through the Linux photo library
// and the Photos scanner, and reads the same files with the exiv2 tool (`exiv2 -pt`). Prints
// the comparison, our rate, and our peak memory for 5,000 and for 500 assets. Each scan runs
// in a fresh process of this program, started by `runPhotosScanChild`. Throws when a step
// fails or a scan does not find every photo.
void runPhotosBench();

// The child side: scans the folder and prints what it found on one line. Returns the exit
// status.
int runPhotosScanChild(const char* folder);

}  // namespace tallowmere::bench
