#pragma once
// How a console line divides: the name runs to the first blank, the arguments
// are everything after that blank (further blanks included).

#include "engine/files/WideString.h"

#include <optional>

struct CommandLineParts {
    WideString name;
    WideString arguments;
};

CommandLineParts SplitCommandLine(const WideString& line);

// The on/off argument of the switch commands: "0" off, "1" on, anything else
// (or nothing) toggles. Leading blanks are skipped.
bool ApplyFlagArgument(const WideString& arguments, bool current);

// A decimal number at the start of the argument, leading blanks skipped;
// none when the argument does not begin with one (a NaN is none either).
std::optional<double> NumberArgument(const WideString& arguments);
