// Entry glue of the engine compiled to WebAssembly for the browser page.
//
// The page's worker hands over the deck text; the glue writes it into the module's in-memory
// file system, runs one analysis with its outputs kept in memory, and returns one JSON
// document: the run's return value, the results (docs/results-schema.json), and the report,
// plot and message texts. Nothing is kept between calls.
#include "report/results_json.h"
#include "run/run.h"

#include <emscripten/bind.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <string>

#include <sys/stat.h>

namespace {

// Text of the run's outputs as a JSON string. A deck may carry bytes that are not UTF-8
// (a title typed in another code page); they are replaced rather than failing the run.
std::string Json_Text(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// A plain file name for the deck inside the in-memory file system: the user's name only
// labels the report, so anything but letters, digits, '-', '_' and '.' becomes '_'.
std::string Safe_Stem(const std::string& name) {
    std::string stem;
    for (const char c : name.substr(0, 64)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        stem += plain ? c : '_';
    }
    if (stem.empty() || stem.find_first_not_of('.') == std::string::npos) {
        stem = "deck";
    }
    return stem;
}

std::string Run_Deck(const std::string& deck_text, const std::string& name) {
    const std::string stem = "/runs/" + Safe_Stem(name);
    zarno::RunRequest request;
    request.input_file = stem + ".inp";
    request.report_file = stem + ".zro";
    request.plot_file = stem + ".zrp";
    request.message_file = stem + ".zrm";
    mkdir("/runs", 0755); // already there after the first run
    {
        std::ofstream deck(request.input_file, std::ios::binary | std::ios::trunc);
        deck << deck_text;
    }
    std::string report;
    std::string plot;
    std::string messages;
    request.write_files = false;
    request.report_text = &report;
    request.plot_text = &plot;
    request.message_text = &messages;

    zarno::RunResults results;
    const int return_value = zarno::Run_Analysis(request, zarno::Local_Date_Time, results);
    std::remove(request.input_file.c_str());

    std::string out = "{\"return_value\":" + std::to_string(return_value);
    out += ",\"results\":" + zarno::Results_To_Json(results);
    out += ",\"report\":" + Json_Text(report);
    out += ",\"plot\":" + Json_Text(plot);
    out += ",\"messages\":" + Json_Text(messages);
    out += "}";
    return out;
}

// Reads and checks the deck as a run does, computing nothing: {"status", "deck" (the deck as
// data, docs/deck-schema.json, null when it could not be read), "results" (the error or
// warnings of the reading)}.
std::string Read_Deck_Text(const std::string& deck_text, const std::string& name) {
    zarno::RunRequest request;
    request.input_file = Safe_Stem(name) + ".inp";
    request.report_file = "/runs/read.zro";
    request.plot_file = "/runs/read.zrp";
    request.message_file = "/runs/read.zrm";
    request.write_files = false;
    request.input_text = &deck_text;
    std::string deck_json;
    zarno::RunResults results;
    const int status = zarno::Read_Deck(request, deck_json, results);
    std::string out = "{\"status\":" + std::to_string(status);
    out += ",\"deck\":" + (deck_json.empty() ? std::string("null") : deck_json);
    out += ",\"results\":" + zarno::Results_To_Json(results) + "}";
    return out;
}

// Writes deck text from the deck as data: {"ok", "text"} or {"ok": false, "error"} naming
// the JSON path of the first field that is missing or of the wrong type.
std::string Write_Deck_Text(const std::string& deck_json) {
    std::string text;
    std::string error;
    const int status = zarno::Write_Deck(deck_json, text, error);
    if (status != 0) {
        return "{\"ok\":false,\"error\":" + Json_Text(error) + "}";
    }
    return "{\"ok\":true,\"text\":" + Json_Text(text) + "}";
}

// The results document of a call that threw: a fatal stop with the reason, in the shape the
// page shows for any other fatal end, instead of an abort that leaves a bare number.
std::string Internal_Error_Results(const char* what, const std::exception& e) {
    zarno::RunResults results;
    results.status = 999;
    results.return_value = 999;
    results.has_error = true;
    results.error.kind = "stop";
    results.error.code = 999;
    results.error.text = {std::string("Internal error of the engine while ") + what + ": " +
                              e.what() + ".",
                          "Please report this with the deck."};
    return zarno::Results_To_Json(results);
}

std::string Run_Deck_Guarded(const std::string& deck_text, const std::string& name) {
    try {
        return Run_Deck(deck_text, name);
    } catch (const std::exception& e) {
        return "{\"return_value\":999,\"results\":" +
               Internal_Error_Results("running the deck", e) +
               ",\"report\":\"\",\"plot\":\"\",\"messages\":\"\"}";
    }
}

std::string Read_Deck_Guarded(const std::string& deck_text, const std::string& name) {
    try {
        return Read_Deck_Text(deck_text, name);
    } catch (const std::exception& e) {
        return "{\"status\":999,\"deck\":null,\"results\":" +
               Internal_Error_Results("reading the deck", e) + "}";
    }
}

std::string Write_Deck_Guarded(const std::string& deck_json) {
    try {
        return Write_Deck_Text(deck_json);
    } catch (const std::exception& e) {
        return "{\"ok\":false,\"error\":" +
               Json_Text(std::string("internal error of the engine while writing the deck: ") +
                         e.what()) +
               "}";
    }
}

} // namespace

EMSCRIPTEN_BINDINGS(zarno_engine) {
    emscripten::function("runDeck", &Run_Deck_Guarded);
    emscripten::function("readDeck", &Read_Deck_Guarded);
    emscripten::function("writeDeck", &Write_Deck_Guarded);
}
