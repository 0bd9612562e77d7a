#pragma once

// The one installed instance of a service interface (not owned): the program installs its windows at
// start-up, tests install scripted stand-ins, and code that asks gets whichever is there.
template <class Service> class Installed {
public:
    static Service* Get() { return s_current; }
    static Service& GetOr(Service& fallback) { return s_current ? *s_current : fallback; }
    static void Set(Service* service) { s_current = service; }

private:
    static inline Service* s_current = nullptr;
};
