// The exported entry of the dynamic library: a thin adapter over the C++ entry.
#include "zarno/zarno.h"

#include "engine/capacities.h"
#include "run/run.h"

extern "C" __attribute__((visibility("default"))) int32_t ZarnoRun(int32_t interface_version) {
    if (interface_version != zarno::ENGINE_INTERFACE_VERSION) {
        return 99;
    }
    try {
        return zarno::Run_From_Directory(".");
    } catch (...) {
        // Out of memory or a file system failure the engine could not report itself.
        return 299;
    }
}
