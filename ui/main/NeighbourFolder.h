#pragma once
// The recording folder next to the open one, in the order of the parent
// folder's items by name (without regard to case), found through the shell.
#include <string>

// direction 0: the next folder, 1: the previous one. Throws DataMissingException
// when folder itself has gone, IOException when the parent cannot be listed,
// and Exception with 5065/5066 when there is no neighbour.
std::wstring findNeighbourFolder(const std::wstring& folder, int direction);

// path with each of its components spelt as on disk (the neighbour search finds
// the open folder by its exact name, and a typed or given path may differ in
// letter case) and the drive letter in capitals. Components that cannot be
// found are kept as given.
std::wstring spellingOnDisk(const std::wstring& path);
