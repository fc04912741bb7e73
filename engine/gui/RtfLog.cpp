#include "engine/gui/RtfLog.h"

#include <cstdio>
#include <iterator>

namespace {

struct RtfColour {
    int red;
    int green;
    int blue;
};

// Colour codes "^1" to "^7"; "^0" is the document's default colour.
constexpr RtfColour kColourTable[] = {
    {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255}, {0, 255, 255}, {255, 0, 255}, {0, 0, 0},
};

// A code past the table names no colour: it is dropped, as on screen.
constexpr wchar_t kLastColourCode = L'0' + static_cast<wchar_t>(std::size(kColourTable));

constexpr char kDocumentEnd[] = "}\r\n";
constexpr int32_t kDocumentEndBytes = 3;

} // namespace

RtfLog::RtfLog(const WideString& fileName)
    : file_(fileName)
{
    std::string header = "{\\rtf1\r\n{\\colortbl;";
    for (const RtfColour& colour : kColourTable) {
        char entry[48];
        std::snprintf(entry, sizeof entry, "\\red%d\\green%d\\blue%d;", colour.red, colour.green, colour.blue);
        header += entry;
    }
    header += "}\r\n";
    header += kDocumentEnd;
    file_.Write(header.data(), static_cast<int32_t>(header.size()));
    file_.Flush();
}

std::string RtfLog::Paragraph(const WideString& text)
{
    WideString paragraph = L"\\cf0 ";
    const size_t length = static_cast<size_t>(WideStringTextLength(text));
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        if (c == L'^' && i + 1 < length) {
            const wchar_t next = text[++i];
            if (next == L'^') {
                paragraph += L'^';
            } else if (next >= L'0' && next <= kLastColourCode) {
                paragraph += L"\\cf" + std::to_wstring(next - L'0') + L" ";
            }
        } else if (c == L'\\' || c == L'{' || c == L'}') {
            paragraph += L'\\';
            paragraph += c;
        } else {
            paragraph += c;
        }
    }
    return WideStringToNarrow(paragraph);
}

void RtfLog::Write(const WideString& text)
{
    const std::string paragraph = Paragraph(text) + "\\par\r\n" + kDocumentEnd;
    file_.Move(-kDocumentEndBytes);
    file_.Write(paragraph.data(), static_cast<int32_t>(paragraph.size()));
    file_.Flush();
}
