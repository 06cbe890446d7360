#pragma once
// A page pinned to the desktop's application menu: a launcher that starts the
// browser with the page's address as its launch arguments.
#include <string>

namespace platform {

struct SecondaryTile {
    std::string TileId;
    std::string DisplayName;
    std::string Arguments;
};

class SecondaryTiles {
public:
    virtual ~SecondaryTiles() = default;
    // True once the launcher is on disk, complete; false when nothing was
    // written. An existing launcher of the same id is never replaced.
    virtual bool RequestCreate(const SecondaryTile& tile) = 0;
};

} // namespace platform
