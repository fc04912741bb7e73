#include "frontend/ConfigFile.h"

#include <cstring>

namespace {

constexpr char kMagic[3] = {'D', 'C', '2'};
constexpr int32_t kVersion = 0x10000001;
constexpr int32_t kShortestFile = 10;
constexpr int32_t kTextBytes = 4;                       // a text's count, for an empty one
constexpr int32_t kHighScoreBytes = 2 * kTextBytes + 4;   // two empty names and the score
constexpr int32_t kValueBytes = 4;

// Bytes 0x80 to 0xFF stand for U+0080 to U+00FF, so a character the writer
// could keep whole comes back as it was.
WideString ReadNarrowText(Stream& in)
{
    WideString text = in.ReadText();
    for (wchar_t& character : text) {
        character &= 0xFF;
    }
    return text;
}

bool ReadHeader(Stream& in)
{
    char magic[sizeof kMagic] = {};
    return in.GetSize() >= kShortestFile && in.Read(magic, sizeof magic) == static_cast<int32_t>(sizeof magic) &&
           std::memcmp(magic, kMagic, sizeof magic) == 0 && in.ReadInt32() == kVersion;
}

void ReadOptions(Stream& in, SavedOptions& options)
{
    options.videoMode = ReadNarrowText(in);
    for (int32_t* value : {&options.textureDetail, &options.detailLevel, &options.reflections, &options.gamma1,
                           &options.gamma2}) {
        *value = in.ReadInt32();
    }
    options.soundVolume = in.ReadFloat();
    options.musicVolume = in.ReadFloat();
    for (BindingCodes& codes : options.bindings) {
        codes.first = in.ReadInt32();
        codes.second = in.ReadInt32();
    }
    options.mouseSensitivity = in.ReadInt32();
}

void ReadHighScores(Stream& in, std::vector<HighScoreEntry>& highScores)
{
    highScores.resize(in.ReadCount(kHighScoreBytes));
    for (HighScoreEntry& entry : highScores) {
        entry.name = in.ReadWideText();
        entry.secondName = in.ReadWideText();
        entry.score = in.ReadInt32();
    }
    if (highScores.size() > kHighScoreRows) {
        highScores.resize(kHighScoreRows);
    }
}

void ReadFields(Stream& in, ConfigFields& fields)
{
    fields.currentScript = ReadNarrowText(in);
    fields.currentCharacter = in.ReadInt32();
    for (std::vector<WideString>& scripts : fields.reachedScripts) {
        scripts.resize(in.ReadCount(kTextBytes));
        for (WideString& script : scripts) {
            script = ReadNarrowText(in);
        }
    }
    ReadHighScores(in, fields.highScores);
    fields.hostName = in.ReadWideText();
    fields.mpScript = ReadNarrowText(in);
    fields.scoreLimit = in.ReadInt32();
    fields.timeLimit = in.ReadInt32();
    fields.mpReserved = in.ReadFloat();
    fields.maxPlayers = in.ReadInt32();
    fields.playerName = in.ReadWideText();
    fields.carName = ReadNarrowText(in);
    // Values are read in order and a cut file delivers nothing after its
    // end, so the file is whole exactly when its last value is all there.
    if (in.Remaining() < kValueBytes) {
        in.ReportErrors();
    }
    fields.teamIndex = in.ReadInt32();
}

void WriteOptions(WriteStream& out, const SavedOptions& options)
{
    out.WriteText(options.videoMode);
    for (int32_t value : {options.textureDetail, options.detailLevel, options.reflections, options.gamma1,
                          options.gamma2}) {
        out.WriteInt32(value);
    }
    out.WriteFloat(options.soundVolume);
    out.WriteFloat(options.musicVolume);
    for (const BindingCodes& codes : options.bindings) {
        out.WriteInt32(codes.first);
        out.WriteInt32(codes.second);
    }
    out.WriteInt32(options.mouseSensitivity);
}

void WriteFields(WriteStream& out, const ConfigFields& fields)
{
    out.WriteText(fields.currentScript);
    out.WriteInt32(fields.currentCharacter);
    for (const std::vector<WideString>& scripts : fields.reachedScripts) {
        out.WriteInt32(static_cast<int32_t>(scripts.size()));
        for (const WideString& script : scripts) {
            out.WriteText(script);
        }
    }
    out.WriteInt32(static_cast<int32_t>(fields.highScores.size()));
    for (const HighScoreEntry& entry : fields.highScores) {
        out.WriteWideText(entry.name);
        out.WriteWideText(entry.secondName);
        out.WriteInt32(entry.score);
    }
    out.WriteWideText(fields.hostName);
    out.WriteText(fields.mpScript);
    out.WriteInt32(fields.scoreLimit);
    out.WriteInt32(fields.timeLimit);
    out.WriteFloat(fields.mpReserved);
    out.WriteInt32(fields.maxPlayers);
    out.WriteWideText(fields.playerName);
    out.WriteText(fields.carName);
    out.WriteInt32(fields.teamIndex);
}

} // namespace

bool ReadConfigFile(Stream& in, ConfigFileContent& content)
{
    if (!ReadHeader(in)) {
        in.ReportErrors();
        return false;
    }
    ReadOptions(in, content.options);
    ReadFields(in, content.fields);
    return !in.HasErrors();
}

void WriteConfigFile(WriteStream& out, const ConfigFileContent& content)
{
    out.Write(kMagic, sizeof kMagic);
    out.WriteInt32(kVersion);
    WriteOptions(out, content.options);
    WriteFields(out, content.fields);
}
