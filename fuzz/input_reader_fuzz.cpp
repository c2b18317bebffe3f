// Feeds arbitrary bytes to the input reader as the text of an input file. Every input
// must end with RunStatus 0 or an input error; a crash, a sanitizer report or a hang is a
// fault of the reader.
#include "engine/analysis_model.h"
#include "input/read_input.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zarno;
    auto model = std::make_unique<AnalysisModel>();
    AnalysisModel& m = *model;
    Reset_Model_State(m);
    m.Report.Open("/dev/null");
    m.Plot.Open("/dev/null");
    m.Messages.Open("/dev/null");
    m.Input.Open_Text(std::string(reinterpret_cast<const char*>(data), size));
    // The header item is read as the run does; the blocks are read whatever it says, so
    // that inputs without the exact header still reach the block readers.
    std::string token;
    m.Input.Read_Word(token);
    Read_Input_Data(m);
    if (m.RunStatus == 0) {
        Convert_USCS_Input_Units(m);
    } else if (m.RunStatus < 100 || m.RunStatus > 199) {
        std::abort(); // the reader raises nothing but input errors
    }
    return 0;
}
