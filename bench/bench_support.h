// Pieces the benchmarks share.
#pragma once

#include "run/run.h"

#include <string>

namespace zarno::bench {

// A run of the deck text with its outputs kept in memory under names that only label them
// (stem.zro, .zrp, .zrm): no file is read or written.
inline RunRequest Request_In_Memory(const std::string& input_name, const std::string* deck,
                                    const std::string& stem) {
    RunRequest r;
    r.input_file = input_name;
    r.input_text = deck;
    r.report_file = stem + ".zro";
    r.plot_file = stem + ".zrp";
    r.message_file = stem + ".zrm";
    r.write_files = false;
    return r;
}

} // namespace zarno::bench
