#pragma once
// The log sink that appends every line to a Rich Text document ("Console.RTF"),
// with the log's colour codes turned into text colours. The document is
// complete after every line, even if the process ends abruptly.

#include "engine/core/LogSink.h"
#include "engine/files/FileWriteStream.h"

class RtfLog : public LogSink {
public:
    explicit RtfLog(const WideString& fileName);

    void Write(const WideString& text) override;

    // The paragraph a message becomes, without its closing "\par".
    static std::string Paragraph(const WideString& text);

private:
    FileWriteStream file_;
};
