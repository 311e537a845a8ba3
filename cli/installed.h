// A listener the host installs into the library for the length of one run.

#pragma once

namespace tern::cli {

// Installs listener through `install` on construction, and installs nothing
// (nullptr) again on destruction, so the library never keeps a listener
// that is gone.
template <class Listener, void (*install)(Listener*)> class Installed {
public:
    explicit Installed(Listener& listener) { install(&listener); }
    ~Installed() { install(nullptr); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;
};

} // namespace tern::cli
