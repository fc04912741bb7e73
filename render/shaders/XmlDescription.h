#pragma once
// The shader descriptions (".DCS" styles and "DCLS" fixed-function files)
// are XML read from their start tags alone: the whole file goes through one
// expat parser, with the reader's record as user data and an end-tag handler
// that does nothing. Their texts are 8-bit; each character widens to one
// wide character.

#include "engine/files/WideString.h"

// Called for every start tag; attributes come as name, value, name, value,
// ..., null.
using XmlStartElementHandler = void (*)(void* reader, const char* element, const char** attributes);

// False when the file could not be read or is not well-formed XML; what the
// handler built before the error stays.
bool ParseXmlDescription(const WideString& name, void* reader, XmlStartElementHandler onStartElement);

WideString WidenXmlText(const char* text);
