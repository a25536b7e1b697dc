// Where the minimised dialog draws its icon: centred, the larger half of an odd margin first.
#pragma once

// Signed arithmetic that truncates toward zero, so a negative free space gives (free + 1) / 2.
inline constexpr int CentredIconEdge(int clientSize, int iconSize) {
    return (clientSize - iconSize + 1) / 2;
}
