// The DAC, mixer and output half of the path map, drawn alike on the Jorb and Qeva canvases:
// its dots (50 up), segments, switches (8 to 22 but 16 and 20), the speaker double-throw
// switch, their groups, and the output drivers and pins drawn under the wires. Each of the two
// descriptions joins these rows with its own.
#pragma once

#include <vector>

#include "pathview/path_model.h"

namespace pathview {

const PathMap& DacOutputMap();
const std::vector<ArtItem>& DacOutputArt();

// `first`'s rows followed by `then`'s, table by table. A group number must stand in one of
// the two only, as a group listed twice keeps its last list.
PathMap JoinMaps(const PathMap& first, const PathMap& then);

template <class T>
std::vector<T> Joined(const std::vector<T>& first, const std::vector<T>& then) {
    std::vector<T> all = first;
    all.insert(all.end(), then.begin(), then.end());
    return all;
}

}  // namespace pathview
