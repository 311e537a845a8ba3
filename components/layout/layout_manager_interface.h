// The host's layout manager, as the main frame hands it out.
//
// The library only passes it on; the option appender reaches the layout
// model behind it with a dynamic cast to LayoutManager.

#pragma once

namespace tern::layout {

class ILayoutManager {
public:
    virtual ~ILayoutManager() = default;

protected:
    ILayoutManager() = default;
    ILayoutManager(const ILayoutManager&) = default;
    ILayoutManager& operator=(const ILayoutManager&) = default;
};

} // namespace tern::layout
