#include "engine/messages.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"

#include <array>

namespace zarno {

namespace {

constexpr MessageTarget B = MessageTarget::Both;
constexpr MessageTarget R = MessageTarget::Report;
constexpr MessageTarget M = MessageTarget::Messages;

// ---- the blocks ----------------------------------------------------------------------------

// {0} iteration
constexpr MessageLine kTopDeflectionNotANumber[] = {
    {R, "**** Runtime Error No. 28 ****"},
    {R, ""},
    {R, "Top deflection is Not-A-Number after iteration {0}"},
};

// {0} iteration
constexpr MessageLine kDeflectionChangeNotANumber[] = {
    {R, "**** Runtime Error No. 28 ****"},
    {R, ""},
    {R, "Maximum change in deflection is Not-A-Number after iteration {0}"},
};

// {0} iteration
constexpr MessageLine kStiffnessCaseNotANumber[] = {
    {R, "**** Runtime Error No. 28 ****"},
    {R, "Either top deflection or maximum change in deflection is not a number after "
        "iteration {0}"},
};

// {0} layer, {1} its thickness (F9.3), {2} length unit, {3} pile increment (F9.3),
// {4} number of increments, {5} increments needed
constexpr MessageLine kThinLayer[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. 29 ****"},
    {B, ""},
    {B, "PROBLEM:  The thickness of layer {0} was too thin to contain a nodal point."},
    {R, "          This layer lacks a nodal point and this prevents the correct computation "
        "of p-y curves for the layer . "},
    {M, "          This layer lacks a nodal point and this prevents the correct computation "
        "of the layer's p-y curves. "},
    {B, "          The thickness of layer {0} is {1} {2} and the pile increment length is {3} "
        "{2}"},
    {B, "          The current number of pile increments is {4}."},
    {B, "          The estimated minimum number of increments needed to get at least one "
        "nodal point in the layer is {5}."},
    {B, ""},
    {B, "SOLUTION: Increase the number of pile increments. Up to 500 pile increments are "
        "allowed in Zarno."},
    {B, "          If this error occurs with the maximum number of pile increments, you will "
        "need to combine the thinnest"},
    {B, "          soil layer with an adjacent layer."},
    {B, ""},
    {B, ""},
};

// {0} layer
constexpr MessageLine kMassiveRock[] = {
    {B, ""},
    {B, ""},
    {B, "**** Analysis Stopped: Massive Rock Layer ****"},
    {B, ""},
    {B, "Problem:  Soil layer {0} is massive rock (p-y type 16). No p-y criterion for massive"},
    {B, "          rock is available in this version of Zarno, so the lateral analysis cannot "
        "be made."},
    {B, ""},
    {B, "Solution: Describe this layer with the weak rock criteria (p-y type 8) or the vuggy"},
    {B, "          limestone criteria (p-y type 9), or with user-input p-y curves (p-y type "
        "14)."},
    {B, ""},
};

// {0} requested depth (F9.3), {1} length unit, {2} ground surface depth (F9.3), {3} length
// label as the report heads its columns with it
constexpr MessageLine kPrintDepthAboveGround[] = {
    {B, "**** Input Data Error No. 23 (NON-FATAL) ****"},
    {B, ""},
    {B, "p-y curves cannot be generated at depth number 1"},
    {B, "This location is {0} {1} below the pile head and "},
    {B, "is above the ground surface for this problem."},
    {B, ""},
    {B, "The ground surface is {2} {3} below the top of the pile."},
    {B, ""},
};

using enum MessageId;
using enum MessageEffect;
using enum MessageOrder;

constexpr MessageEntry kCatalogue[] = {
    {NoStrainSoftClay, 237, Stop, ReportFirst, "", {}},
    {NoStrainSoftClayWithJ, 238, Stop, ReportFirst, "", {}},
    {TopDeflectionNotANumber, 228, Stop, ReportFirst, "", kTopDeflectionNotANumber},
    {DeflectionChangeNotANumber, 228, Stop, ReportFirst, "", kDeflectionChangeNotANumber},
    {StiffnessCaseNotANumber, 228, Stop, ReportFirst, "", kStiffnessCaseNotANumber},
    {ThinLayer, 229, Stop, ReportFirst, "", kThinLayer},
    {MassiveRock, 99, Stop, ReportFirst, "", kMassiveRock},
    {PrintDepthAboveGround, 123, Stop, ReportFirst, "", kPrintDepthAboveGround},
};

constexpr bool Catalogue_In_Id_Order() {
    for (size_t i = 0; i < std::size(kCatalogue); ++i) {
        if (static_cast<size_t>(kCatalogue[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(Catalogue_In_Id_Order(), "each message id has its entry at its own index");

bool Goes_To(MessageTarget line, MessageTarget file) {
    return line == MessageTarget::Both || line == file;
}

void Write_Lines(TextFile& f, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        f.Write_Line(line);
    }
}

// The block as the run's result keeps it: from its heading, right-trimmed, without the
// blank lines around it. The report's lines, or the message file's for a block the report
// does not get.
std::vector<std::string> Result_Text(const MessageEntry& e, std::span<const std::string> args,
                                     int status) {
    std::vector<std::string> text = Message_Lines(e, MessageTarget::Report, args, status);
    if (text.empty()) {
        text = Message_Lines(e, MessageTarget::Messages, args, status);
    }
    for (std::string& line : text) {
        line = Trim_Right(line, WHITE_SPACE);
    }
    while (!text.empty() && text.front().empty()) {
        text.erase(text.begin());
    }
    while (!text.empty() && text.back().empty()) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::span<const MessageEntry> Message_Catalogue() {
    return kCatalogue;
}

const MessageEntry& Message_Entry(MessageId id) {
    return kCatalogue[static_cast<size_t>(id)];
}

std::string Message_Code(const MessageEntry& entry, int status) {
    if (!entry.code.empty()) {
        return std::string(entry.code);
    }
    if (status >= 100 && status <= 199) {
        return Input_Error_Code(status - 100);
    }
    if (status >= 200 && status <= 299) {
        return Runtime_Error_Code(status - 200);
    }
    return {};
}

std::string Fill_Placeholders(std::string_view text, std::span<const std::string> args,
                              std::string_view number) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}') {
            const char key = text[i + 1];
            if (key >= '0' && key <= '9' && static_cast<size_t>(key - '0') < args.size()) {
                out += args[static_cast<size_t>(key - '0')];
                i += 2;
                continue;
            }
            if (key == 'n' && !number.empty()) {
                out += number;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::vector<std::string> Message_Lines(const MessageEntry& entry, MessageTarget file,
                                       std::span<const std::string> args, int status) {
    if (status == 0) {
        status = entry.status;
    }
    const std::string number = std::to_string(status >= 200 ? status - 200 : status - 100);
    std::vector<std::string> lines;
    lines.reserve(entry.lines.size());
    for (const MessageLine& line : entry.lines) {
        if (!Goes_To(line.target, file)) {
            continue;
        }
        lines.push_back(Fill_Placeholders(line.text, args, number));
    }
    return lines;
}

void Write_To_Both(TextFile& first, TextFile& second,
                   std::initializer_list<std::string_view> lines) {
    for (TextFile* f : {&first, &second}) {
        for (std::string_view line : lines) {
            f->Write_Line(line);
        }
    }
}

void Write_To_Both(TextFile& first, TextFile& second, std::span<const std::string> lines) {
    for (TextFile* f : {&first, &second}) {
        for (const std::string& line : lines) {
            f->Write_Line(line);
        }
    }
}

void Write_Message_To_With(TextFile& report, TextFile& messages, MessageId id,
                           std::span<const std::string> args, int status) {
    const MessageEntry& e = Message_Entry(id);
    const std::vector<std::string> to_report =
        Message_Lines(e, MessageTarget::Report, args, status);
    const std::vector<std::string> to_messages =
        Message_Lines(e, MessageTarget::Messages, args, status);
    if (e.order == MessageOrder::ReportFirst) {
        Write_Lines(report, to_report);
        Write_Lines(messages, to_messages);
    } else {
        Write_Lines(messages, to_messages);
        Write_Lines(report, to_report);
    }
}

void Write_Message_With(AnalysisModel& m, MessageId id, std::span<const std::string> args,
                        int status) {
    Write_Message_To_With(m.Report, m.Messages, id, args, status);
}

int Fail_Run_With(AnalysisModel& m, MessageId id, std::span<const std::string> args, int status) {
    const MessageEntry& e = Message_Entry(id);
    if (status == 0) {
        status = e.status;
    }
    Write_Message_With(m, id, args, status);
    // The first fatal error of a run is the one it reports.
    if (m.RunStatus <= 0 && m.Results.error.text.empty()) {
        m.Results.error.text = Result_Text(e, args, status);
    }
    if (e.effect == MessageEffect::EndRun) {
        Report_Fatal_Error(m, Message_Code(e, status), status);
    } else {
        m.RunStatus = status;
    }
    return m.RunStatus;
}

} // namespace zarno
