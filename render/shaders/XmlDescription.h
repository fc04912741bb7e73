#pragma once
// The shader descriptions (".DCS" styles and "DCLS" fixed-function files)
// are XML read from their start tags alone: the whole file goes through one
// expat parser, with the reader's record as user data and an end-tag handler
// that does nothing. Their texts are 8-bit; each character widens to one
// wide character.

#include "engine/files/WideString.h"

#include <expat.h>

// False when the file could not be read or is not well-formed XML; what the
// handler built before the error stays.
bool ParseXmlDescription(const WideString& name, void* reader, XML_StartElementHandler onStartElement);

// Attribute lists as expat hands them: name, value, name, value, ..., null.
WideString WidenXmlText(const XML_Char* text);
