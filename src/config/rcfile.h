// The resource file reader: one keyword and value per line, `execProg` and
// `at` lines with quoted commands. Messages go to standard error; only a
// failed alarm allocation ends the program.
#pragma once

#include <cstddef>
#include <cstdio>

void parsercfile(FILE *file);

// Applies one line as fgets delivered it (at most 199 characters, usually
// ending in a newline). parsercfile calls it for every line; it never exits
// except when memory for an alarm runs out.
void parseRcLine(const char *line);

// How a keyword's value is fetched from its line.
enum RcValueKind {
    RC_VALUE_TOKEN,        // the next blank/tab/newline separated word
    RC_VALUE_REST,         // the rest of the line after the keyword (execProg)
    RC_VALUE_TIME_FIELDS,  // HH:MM:SS "command" read by the rule itself (at)
};

struct RcKeyword {
    const char *keyword;              // matched whole and case-sensitively
    RcValueKind valueKind;
    void (*apply)(const char *value); // the keyword's rule
};

extern const RcKeyword rcKeywords[];
extern const int rcKeywordCount;

// The row for keyword, or nullptr.
const RcKeyword *findRcKeyword(const char *keyword);

// Stores the command that follows an opening quote: the text to the end of
// the line less its last two characters (the closing quote and the newline),
// within a field of fieldSize bytes. False when fewer than two characters
// follow the quote: there is no command to take.
bool storeQuotedCommand(char *field, size_t fieldSize, const char *afterQuote);
