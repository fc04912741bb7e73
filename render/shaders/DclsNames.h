#pragma once
// How the fixed-function descriptions ("DCLS" files) match their names, both
// ignoring case: an element matches a keyword when its name begins with the
// keyword ("Lights" is a Light), an attribute when the keyword begins with
// the attribute's name ("Dir" is Direction).

#include <cstdint>
#include <initializer_list>

bool DclsElementIs(const char* element, const char* keyword);
bool DclsAttributeIs(const char* attribute, const char* keyword);

// Whether text contains the part anywhere, ignoring case.
bool ContainsIgnoringCase(const char* text, const char* part);

// A value name and the Direct3D number it stands for.
struct DclsValueName {
    const char* name;
    int32_t value;
};

// Not one of the names: sent to Direct3D as it is.
constexpr int32_t kUnknownDclsValue = 0x7FFFFFFF;

// The value of the longest name the text begins with, ignoring case.
int32_t LongestLeadingName(const char* text, std::initializer_list<DclsValueName> names);
// The value of the first name, in table order, the text begins with.
int32_t FirstLeadingName(const char* text, std::initializer_list<DclsValueName> names);
