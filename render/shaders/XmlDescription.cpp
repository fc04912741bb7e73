#include "render/shaders/XmlDescription.h"

#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"

#include <memory>
#include <string>

namespace {

void IgnoreEndElement(void* reader, const XML_Char* name) {}

} // namespace

bool ParseXmlDescription(const WideString& name, void* reader, XML_StartElementHandler onStartElement)
{
    std::unique_ptr<Stream> stream = OpenFile(name);
    std::string text;
    if (stream->GetSize() > 0) {
        text.resize(static_cast<size_t>(stream->GetSize()));
        text.resize(static_cast<size_t>(stream->Read(text.data(), stream->GetSize())));
    }
    stream.reset();
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        return false;
    }
    XML_SetUserData(parser, reader);
    XML_SetElementHandler(parser, onStartElement, IgnoreEndElement);
    const bool parsed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_ERROR;
    XML_ParserFree(parser);
    return parsed;
}

WideString WidenXmlText(const XML_Char* text)
{
    WideString wide;
    for (const XML_Char* c = text; *c; ++c) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    }
    return wide;
}
