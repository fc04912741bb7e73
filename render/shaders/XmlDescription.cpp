#include "render/shaders/XmlDescription.h"

#include "render/shaders/ShaderFile.h"

#include <expat.h>

#include <string>

namespace {

struct XmlReader {
    void* reader;
    XmlStartElementHandler onStartElement;
};

void XMLCALL OnStartElement(void* userData, const XML_Char* element, const XML_Char** attributes)
{
    const auto* xml = static_cast<const XmlReader*>(userData);
    xml->onStartElement(xml->reader, element, attributes);
}

void XMLCALL IgnoreEndElement(void* userData, const XML_Char* element) {}

} // namespace

bool ParseXmlDescription(const WideString& name, void* reader, XmlStartElementHandler onStartElement)
{
    const std::string text = ReadShaderFile(name);
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        return false;
    }
    XmlReader xml{reader, onStartElement};
    XML_SetUserData(parser, &xml);
    XML_SetElementHandler(parser, OnStartElement, IgnoreEndElement);
    const bool parsed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_ERROR;
    XML_ParserFree(parser);
    return parsed;
}

WideString WidenXmlText(const char* text)
{
    WideString wide;
    for (const char* c = text; *c; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return wide;
}
