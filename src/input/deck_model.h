// The input deck as data: the contents of a deck that the reader has read and checked, as
// a JSON document in the units the deck was written in (layout: docs/deck-schema.json), and
// the writer that turns such a document back into deck text. Front ends fill their forms
// from the document and save decks through the writer, so there is one reader and one
// writer of the input format whatever the language of the front end.
#pragma once

#include <string>

namespace zarno {

struct AnalysisModel;

// Version of the deck document; raised whenever a field changes meaning or goes away.
inline constexpr int DECK_FORMAT_VERSION = 1;

// The deck held by a model that has read and checked its input and has not yet converted
// it to computation units, as compact JSON text.
std::string Deck_Json(const AnalysisModel& m);

// Writes deck text from a deck document. Returns 0, or 1 with error naming the JSON path of
// the first missing or ill-typed field (or 2 when the text is no JSON at all). Values are
// not range-checked here: the reader checks them when the deck is read or run.
int Write_Deck_Text(const std::string& deck_json, std::string& deck_text, std::string& error);

} // namespace zarno
